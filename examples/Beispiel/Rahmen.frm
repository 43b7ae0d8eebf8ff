VERSION 5.00
Begin VB.MDIForm mdiRahmen 
   BackColor       =   &H8000000C&
   Caption         =   "Kundenverwaltung – Übersicht"
   ClientHeight    =   6990
   ClientLeft      =   165
   ClientTop       =   735
   ClientWidth     =   9480
   LinkTopic       =   "MDIForm1"
   StartUpPosition =   3  'Windows-Standard
   Begin VB.PictureBox picLeiste 
      Align           =   1  'Oben ausrichten
      BorderStyle     =   0  'Kein
      Height          =   420
      Left            =   0
      ScaleHeight     =   420
      ScaleWidth      =   9480
      TabIndex        =   0
      Top             =   0
      Width           =   9480
   End
   Begin VB.Menu mnuFenster 
      Caption         =   "&Fenster"
      WindowList      =   -1  'True
      Begin VB.Menu mnuFensterUntereinander 
         Caption         =   "&Untereinander anordnen"
      End
      Begin VB.Menu mnuFensterNebeneinander 
         Caption         =   "&Nebeneinander anordnen"
      End
   End
End
Attribute VB_Name = "mdiRahmen"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Sub mnuFensterNebeneinander_Click()
    Me.Arrange vbTileVertical
End Sub

Private Sub mnuFensterUntereinander_Click()
    Me.Arrange vbTileHorizontal
End Sub
