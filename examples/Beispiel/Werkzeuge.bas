Attribute VB_Name = "Werkzeuge"
Option Explicit

' Begin der allgemeinen Hilfsroutinen.
Public Sub Main()
    mdiRahmen.Show
    frmHauptfenster.Show
End Sub

Public Function Vollständig(ByVal Text As String) As Boolean
    Vollständig = Len(Trim$(Text)) > 0
End Function
