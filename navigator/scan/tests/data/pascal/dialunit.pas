unit DialUnit;
{ Dialling helpers.
  procedure Hidden; is only mentioned here. }

interface

uses WinTypes, WinProcs;

type
  TDialer = class
    constructor Create(Port: Integer);
    procedure Dial(const Number: string);
    function Busy: Boolean;
  end;

function DigitCount(const S: string): Integer;

implementation

{ TDialer }

constructor TDialer.Create(Port: Integer);
begin
end;

procedure TDialer.Dial(const Number: string);
begin
  WriteLn('{ procedure NotReal; }');
end;

function TDialer.Busy: Boolean;
begin
  Busy := False; { a comment that runs
  function Inside: Integer;
  on for lines }
end;

FUNCTION DigitCount(const S: string): Integer;
begin
  DigitCount := Length(S);
end;

procedure   Tidy;forward;
destructor TDialer.Destroy;
end.
