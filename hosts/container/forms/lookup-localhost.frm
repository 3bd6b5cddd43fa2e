# Both lookup controls on one form: the address of localhost by name
# (asynchronously, answered by an event) and its name by address (a method).
Begin Ostrel.GetAddress GetAddress1
End
Begin Ostrel.GetName GetName1
End
Run
    Get GetAddress1.Version
    Set GetAddress1.HostName = localhost
    Wait GetAddress1.EndGetHostAddress
    Get GetAddress1.ErrorNumber
    Call GetName1.GetHostName "127.0.0.1"
End
