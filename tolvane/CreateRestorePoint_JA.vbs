' トルヴァネ: システムの復元ポイントを作成します。
Option Explicit
Dim restore, result
On Error Resume Next
Set restore = GetObject("winmgmts:\\.\root\default:SystemRestore")
If Err.Number <> 0 Then
  MsgBox "システムの復元が利用できないため、復元ポイントを作成できませんでした。", vbExclamation, "トルヴァネ"
  WScript.Quit 1
End If
' 12 = 設定の変更, 100 = 変更の開始
result = restore.CreateRestorePoint("トルヴァネによる設定変更の前", 12, 100)
If Err.Number = 0 And result = 0 Then
  MsgBox "復元ポイントを作成しました。", vbInformation, "トルヴァネ"
  WScript.Quit 0
Else
  MsgBox "復元ポイントを作成できませんでした。", vbExclamation, "トルヴァネ"
  WScript.Quit 1
End If
