# Host code on a form: when the address of localhost arrives, a handler
# asks the other control for the name of that address. Controls sit at
# their places (left top width height, in pixels). Break mode holds events:
# the second lookup's answer never reaches the handler.
Begin Ostrel.GetAddress Lookup 10 10 32 32
End
Begin Ostrel.GetName Reverse 60 10 32 32
End
On Lookup.EndGetHostAddress
    Call Reverse.GetHostName $1
End
Run
    Set Lookup.HostName = localhost
    Wait Lookup.EndGetHostAddress 1 10000
    Get Lookup.Name
    Get Reverse.Left
    Break
    Set Lookup.HostName = localhost
    Pause 300
    Continue
    Unload
End
