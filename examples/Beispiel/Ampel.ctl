VERSION 5.00
Begin VB.UserControl Ampel 
   ClientHeight    =   1725
   ClientLeft      =   0
   ClientTop       =   0
   ClientWidth     =   660
   ScaleHeight     =   1725
   ScaleWidth      =   660
   Begin VB.Timer tmrBlinken 
      Enabled         =   0   'False
      Interval        =   500
      Left            =   0
      Top             =   0
   End
   Begin VB.Shape shpLicht 
      BackColor       =   &H000000FF&
      BackStyle       =   1  'Undurchsichtig
      Height          =   495
      Index           =   0
      Left            =   60
      Shape           =   3  'Kreis
      Top             =   60
      Width           =   495
   End
   Begin VB.Shape shpLicht 
      BackColor       =   &H0000FFFF&
      BackStyle       =   1  'Undurchsichtig
      Height          =   495
      Index           =   1
      Left            =   60
      Shape           =   3  'Kreis
      Top             =   600
      Width           =   495
   End
   Begin VB.Shape shpLicht 
      BackColor       =   &H0000FF00&
      BackStyle       =   1  'Undurchsichtig
      Height          =   495
      Index           =   2
      Left            =   60
      Shape           =   3  'Kreis
      Top             =   1140
      Width           =   495
   End
End
Attribute VB_Name = "Ampel"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = False
Option Explicit

Private mBlinken As Boolean

Public Property Get Blinken() As Boolean
    Blinken = mBlinken
End Property

Public Property Let Blinken(ByVal Wert As Boolean)
    mBlinken = Wert
    tmrBlinken.Enabled = Wert
    PropertyChanged "Blinken"
End Property
