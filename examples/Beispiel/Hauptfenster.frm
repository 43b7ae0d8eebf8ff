VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmHauptfenster 
   Caption         =   "Kundenübersicht"
   ClientHeight    =   5400
   ClientLeft      =   60
   ClientTop       =   630
   ClientWidth     =   7800
   BeginProperty Font 
      Name            =   "MS Sans Serif"
      Size            =   8.25
      Charset         =   0
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   LinkTopic       =   "Form1"
   MDIChild        =   -1  'True
   ScaleHeight     =   5400
   ScaleWidth      =   7800
   Begin VB.Frame fraAnschrift 
      Caption         =   "Anschrift"
      Height          =   1575
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   4575
      Begin VB.TextBox txtStrasse 
         Height          =   315
         Left            =   1200
         TabIndex        =   2
         Top             =   360
         Width           =   3135
      End
      Begin VB.TextBox txtOrt 
         Height          =   315
         Left            =   1200
         TabIndex        =   4
         Top             =   840
         Width           =   3135
      End
      Begin VB.Label lblStrasse 
         Caption         =   "Straße:"
         Height          =   255
         Left            =   120
         TabIndex        =   1
         Top             =   390
         Width           =   975
      End
      Begin VB.Label lblOrt 
         Caption         =   "Ort:"
         Height          =   255
         Left            =   120
         TabIndex        =   3
         Top             =   870
         Width           =   975
      End
   End
   Begin VB.CommandButton cmdAktion 
      Caption         =   "Ö&ffnen"
      Height          =   375
      Index           =   0
      Left            =   4920
      TabIndex        =   5
      Top             =   120
      Width           =   1455
   End
   Begin VB.CommandButton cmdAktion 
      Caption         =   "&Löschen"
      Height          =   375
      Index           =   1
      Left            =   4920
      TabIndex        =   6
      Top             =   600
      Width           =   1455
   End
   Begin VB.CommandButton cmdAktion 
      Caption         =   "&Schließen"
      Height          =   375
      Index           =   2
      Left            =   4920
      TabIndex        =   7
      Top             =   1080
      Width           =   1455
   End
   Begin MSComctlLib.ListView lvwKunden 
      Height          =   2775
      Left            =   120
      TabIndex        =   8
      Top             =   1920
      Width           =   7575
      _ExtentX        =   13361
      _ExtentY        =   4895
      View            =   3
      LabelWrap       =   -1  'True
      HideSelection   =   -1  'True
      _Version        =   393217
      ForeColor       =   -2147483640
      BackColor       =   -2147483643
      BorderStyle     =   1
      Appearance      =   1
      NumItems        =   2
      BeginProperty ColumnHeader(1) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Text            =   "Name"
         Object.Width           =   4410
      EndProperty
      BeginProperty ColumnHeader(2) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         SubItemIndex    =   1
         Text            =   "Größe der Bestellung"
         Object.Width           =   2540
      EndProperty
   End
   Begin MSComctlLib.StatusBar sbrStatus 
      Align           =   2  'Unten ausrichten
      Height          =   375
      Left            =   0
      TabIndex        =   9
      Top             =   5025
      Width           =   7800
      _ExtentX        =   13758
      _ExtentY        =   661
      _Version        =   393216
      BeginProperty Panels {8E3867A5-8586-11D1-B16A-00C0F0283628} 
         NumPanels       =   1
         BeginProperty Panel1 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            AutoSize        =   1
            Object.Width           =   13229
            Text            =   "Bereit für Eingaben"
         EndProperty
      EndProperty
   End
   Begin Beispiel.Ampel ampStatus 
      Height          =   975
      Left            =   6600
      TabIndex        =   10
      Top             =   240
      Width           =   375
      _ExtentX        =   661
      _ExtentY        =   1720
   End
   Begin VB.Menu mnuDatei 
      Caption         =   "&Datei"
      Begin VB.Menu mnuDateiOeffnen 
         Caption         =   "&Öffnen ..."
         Shortcut        =   ^O
      End
      Begin VB.Menu mnuDateiTrenner 
         Caption         =   "-"
      End
      Begin VB.Menu mnuDateiBeenden 
         Caption         =   "&Beenden"
      End
   End
   Begin VB.Menu mnuHilfe 
      Caption         =   "&Hilfe"
      Begin VB.Menu mnuHilfeInfo 
         Caption         =   "Ü&ber die Kundenverwaltung"
      End
   End
End
Attribute VB_Name = "frmHauptfenster"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' Begin der Ereignisbehandlung: nichts ab hier ist eine Objektbeschreibung.
Private Sub cmdAktion_Click(Index As Integer)
    Select Case Index
    Case 0
        sbrStatus.Panels(1).Text = "Begin Öffnen"
    Case 1
        lvwKunden.ListItems.Clear
    Case 2
        Unload Me
    End Select
End Sub

Private Sub mnuDateiBeenden_Click()
    Unload Me
End Sub

Private Sub mnuHilfeInfo_Click()
    MsgBox "Kundenverwaltung, Version " & App.Major & "." & App.Minor, vbInformation, "Über"
End Sub
