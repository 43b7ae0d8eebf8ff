VERSION 5.00
Object = "{F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0"; "COMDLG32.OCX"
Begin VB.Form frmEinstellungen 
   BorderStyle     =   3  'Fester Dialog
   Caption         =   "Einstellungen"
   ClientHeight    =   3195
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   5190
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
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   3195
   ScaleWidth      =   5190
   ShowInTaskbar   =   0   'False
   StartUpPosition =   1  'Fenstermitte
   Begin VB.CheckBox chkSpeichern 
      Caption         =   "Änderungen automatisch speichern"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   4935
   End
   Begin VB.Frame fraAnsicht 
      Caption         =   "Ansicht"
      Height          =   1095
      Left            =   120
      TabIndex        =   1
      Top             =   480
      Width           =   4935
      Begin VB.OptionButton optAnsicht 
         Caption         =   "Große Symbole"
         Height          =   255
         Index           =   0
         Left            =   240
         TabIndex        =   2
         Top             =   300
         Value           =   -1  'True
         Width           =   2415
      End
      Begin VB.OptionButton optAnsicht 
         Caption         =   "Kleine Symbole"
         Height          =   255
         Index           =   1
         Left            =   240
         TabIndex        =   3
         Top             =   660
         Width           =   2415
      End
   End
   Begin VB.TextBox txtBeginn 
      Height          =   315
      Left            =   2400
      TabIndex        =   5
      Text            =   "08:00"
      Top             =   1800
      Width           =   975
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   2520
      TabIndex        =   6
      Top             =   2640
      Width           =   1215
   End
   Begin VB.CommandButton cmdAbbrechen 
      Cancel          =   -1  'True
      Caption         =   "Abbrechen"
      Height          =   375
      Left            =   3840
      TabIndex        =   7
      Top             =   2640
      Width           =   1215
   End
   Begin MSComDlg.CommonDialog dlgDatei 
      Left            =   120
      Top             =   2520
      _ExtentX        =   847
      _ExtentY        =   847
      _Version        =   393216
   End
   Begin VB.Label lblBeginn 
      Caption         =   "Beginn der Arbeitszeit:"
      Height          =   255
      Left            =   120
      TabIndex        =   4
      Top             =   1830
      Width           =   2175
   End
End
Attribute VB_Name = "frmEinstellungen"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private Sub cmdAbbrechen_Click()
    Unload Me
End Sub

Private Sub cmdOK_Click()
    SaveSetting App.Title, "Ansicht", "Beginn", txtBeginn.Text
    Unload Me
End Sub
