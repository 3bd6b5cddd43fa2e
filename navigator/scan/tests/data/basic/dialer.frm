VERSION 4.00
Begin VB.Form frmDialer 
   Caption         =   "Sub Total"
   ClientHeight    =   3195
   Begin VB.CommandButton cmdDial 
      Caption         =   "&Dial"
   End
End
Attribute VB_Name = "frmDialer"
Option Explicit
' Sub Commented() is not a procedure
Private Declare Function GetTickCount Lib "kernel32" () As Long

Private Sub cmdDial_Click()
    Dim started As Long
    started = GetTickCount()
    GoSub ShowIt
    Exit Sub
ShowIt:
    MsgBox "End of Sub Dial"
    Return
End Sub

Public Function DigitsOf(ByVal number As String) As String
    DigitsOf = number ' Function Fake()
End Function

Sub Form_Load ()   ' old style
End Sub
Static Function  Counter%(ByVal x%)
Friend Function Helper() As Long
End Function
