' Kelvorin: creates a System Restore point.
Option Explicit
Dim restore, result
On Error Resume Next
Set restore = GetObject("winmgmts:\\.\root\default:SystemRestore")
If Err.Number <> 0 Then
  MsgBox "System Restore is not available, so no restore point was created.", vbExclamation, "Kelvorin"
  WScript.Quit 1
End If
' 12 = settings modified, 100 = beginning of a change
result = restore.CreateRestorePoint("Before settings changed by Kelvorin", 12, 100)
If Err.Number = 0 And result = 0 Then
  MsgBox "The restore point was created.", vbInformation, "Kelvorin"
  WScript.Quit 0
Else
  MsgBox "The restore point could not be created.", vbExclamation, "Kelvorin"
  WScript.Quit 1
End If
