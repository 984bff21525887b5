"""The INI text of our skin. Sizes and margins match the pictures drawn by skin.py."""

from artlib import (ACCENT, ACCENT_DARK, BANNER_TOP, EDGE, EDGE_DARK, FACE, FACE_LIGHT, TEXT,
                    TEXT_SOFT, TITLE_BOTTOM)


def rgb(c):
    return "%d %d %d" % c


PRESSED_TEXT = (20, 70, 140)


def bgr(c):
    return "0x%02X%02X%02X%02X" % (0, c[2], c[1], c[0])


def ini_text():
    t = TEXT
    return f"""\
; Velmo calm blue: the skin shipped inside the main window.
; Frames of every strip lie side by side unless noted; magenta 255 0 255 is see-through.

[TitlebarSkin]
SkinName=Velmo Calm Blue

; Window frame. Left and right: 2 frames side by side (active, inactive), 5 px wide,
; the top 30 rows carry the title ends with the rounded corners.
; Top (title) and bottom: 2 frames stacked (active, inactive).
[Personality]
Left=frameleft.bmp
LeftTopHeight=30
LeftBotHeight=5
LeftFrame=2
LeftStretch=1
LeftTrans=1
Right=frameright.bmp
RightTopHeight=30
RightBotHeight=5
RightFrame=2
RightStretch=1
RightTrans=1
Top=frametop.bmp
TopTopHeight=2
TopBotHeight=2
TopFrame=2
TopStretch=1
TopTrans=0
Bottom=framebottom.bmp
BottomTopHeight=0
BottomBotHeight=0
BottomFrame=2
BottomStretch=1
BottomTrans=0
; Caption text: after the window icon, clear of the three buttons at the right.
TextBack=titletextback.bmp
TextShift=18
TextShiftVert=0
TextRightClip=104
TextAlignment=0
Textbackground=1
TXTBackleft=8
TXTBackRight=8
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=240
InActiveTextG=243
InActiveTextB=247
; Menu bar: 2 frames stacked (active, inactive).
menuBar=menubar.bmp
TileMenu=1
TileLeftMenu=2
TileRightMenu=2

[Fonts]
FontHeight=14

[Colours]
WindowText={rgb(t)}
ButtonFace={rgb(FACE)}
Scrollbar=236 242 251
HilightText=255 255 255
Hilight={rgb(ACCENT)}
Menubar={rgb(FACE)}
Menu=255 255 255
MenuText={rgb(t)}
ButtonText={rgb(t)}
ButtonHilight=255 255 255
Buttonlight={rgb(FACE_LIGHT)}
ButtonShadow={rgb(EDGE)}
ButtonDkShadow={rgb(EDGE_DARK)}
MenuBarText={rgb(t)}
TitleTextActive=255 255 255
TitleTextNoActive=240 243 247

; Named extra colours.
[ColourAccent]
color={rgb(ACCENT)}
[ColourFrame]
color={rgb(TITLE_BOTTOM)}

[Customcolors]
Color0={rgb(FACE)}
Color1={rgb(FACE_LIGHT)}
Color2={rgb(EDGE)}
Color3={rgb(EDGE_DARK)}
Color4={rgb(t)}
Color5={rgb(TEXT_SOFT)}
Color6={rgb(ACCENT)}
Color7={rgb(ACCENT_DARK)}
Color8={rgb(TITLE_BOTTOM)}
Color9={rgb(BANNER_TOP)}

; Caption buttons, 30 x 22, 4 frames: normal, pressed, hot, inactive or disabled.
; Align 1 counts XCoord from the window's right edge.
[Button0]
; close
Action=0
Align=1
XCoord=37
YCoord=4
Visibility=0
Visibility1=0
CombineOp=-1
frame=4
ButtonImage=caption-close.bmp

[Button1]
; maximise, while not maximised
Action=1
Align=1
XCoord=67
YCoord=4
Visibility=2
Visibility1=6
CombineOp=-1
frame=4
ButtonImage=caption-max.bmp

[Button2]
; minimise
Action=2
Align=1
XCoord=97
YCoord=4
Visibility=6
Visibility1=0
CombineOp=-1
frame=4
ButtonImage=caption-min.bmp

[Button3]
; restore, while maximised
Action=1
Align=1
XCoord=67
YCoord=4
Visibility=1
Visibility1=6
CombineOp=-1
frame=4
ButtonImage=caption-restore.bmp

[Button4]
; window icon: drawn from the window's own small icon
Action=3
Align=0
XCoord=8
YCoord=7
Visibility=0

; Buttons of a maximised MDI child in the menu strip: minimise, restore, close,
; each 4 frames of 16 x 14 (normal, pressed, hot, hot).
[MDICONTROLS]
Image=mdicontrols.bmp

; Push buttons: 5 frames of 24 x 24 (normal, pressed, disabled, hot, focused or default).
; Check box: 12 frames of 13 x 13 (unchecked, checked, mixed; each normal, hot, pressed, disabled).
; Radio button: 8 frames of 13 x 13 (unchecked, checked; each normal, hot, pressed, disabled).
[Buttons]
Bitmap=buttons.bmp
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=5
Trans=1
Tile=0
CheckButton=checkbox.bmp
CheckButtonFrame=12
RadioButton=radiobutton.bmp
RadioButtonFrame=8
; Text colours, as 0x00BBGGRR integers and as red green blue.
NormalColour={bgr(t)}
MouseOverColour={bgr(ACCENT_DARK)}
PressedColour={bgr(PRESSED_TEXT)}
NormalColour2={rgb(t)}
MouseOverColour2={rgb(ACCENT_DARK)}
PressedColour2={rgb(PRESSED_TEXT)}

; Progress: 2 frames of 24 x 18 (track, fill).
[Progress]
Bitmap=progress.bmp
Style=0
LeftWidth=6
RightWidth=6
TopHeight=6
BottomHeight=6
Trans=1
Tile=0

[Progress.Chunk]
Image=progresschunk.bmp
Frame=1
LeftWidth=0
RightWidth=1
TopHeight=0
BottomHeight=0
Tile=1
Trans=0

; Group box outline: 2 frames (normal, disabled); label plate: 1 frame.
[GroupBoxEdge]
Image=groupboxedge.bmp
Frame=2
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=5
Trans=1
Tile=0

[GroupBox]
Image=groupboxlabel.bmp
LeftWidth=6
RightWidth=6
TopHeight=6
BottomHeight=6
Trans=1
Tile=0
BackgroundAlignment=0
BackgroundLeftShift=4
BackgroundRightShift=4
NormalColour2={rgb(t)}

; Tabs: 5 frames of 24 x 22 (other, current, hot, disabled, current with focus);
; the pane comes from Tab.Pane (Style 1).
[Tabs]
Image=tabs.bmp
Border=tabpane.bmp
Style=1
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=2
Trans=1
Tile=0
NormalColour2={rgb(TEXT_SOFT)}
MouseOverColour2={rgb(t)}

[Tab.Pane]
Image=tabpane.bmp
Frame=1
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Tile=0

; Status bar panels: 3 frames of 12 x 18.
[StatusBarEdges]
Image=statusbar.bmp
Frame=3
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Tile=0
NormalColour2={rgb(TEXT_SOFT)}

; Tool buttons: 5 frames as push buttons, flat when normal.
[ToolBars]
Image=toolbars.bmp
Frame=5
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=5
Trans=1
Tile=0

; Combo box: sunk edge 4 frames of 20 x 21, drop-down part 4 frames of 19 x 21
; (normal, pressed, disabled, hot).
[ComboButton]
Image=combobutton.bmp
Frame=4
LeftWidth=2
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0

[SunkEdge]
Image=sunkedge.bmp
Frame=4
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0

; Frames 1-4: combo arrow (normal, pressed, disabled, hot); frame 5: size grip. 19 x 20 each.
[ExtraImages]
Image=extraimages.bmp
Frame=5
Trans=1

; List header items: 5 frames of 20 x 22 (normal, hot, pressed, disabled, sorted).
[Headerbar]
Image=headerbar.bmp
Frame=5
LeftWidth=2
RightWidth=3
TopHeight=3
BottomHeight=3
Tile=0
NormalColour2={rgb(t)}

; Menu item: 5 frames of 24 x 22 (normal, separator at the bottom, disabled,
; selected, selected disabled).
[MenuItem]
Image=menuitem.bmp
Frame=5
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0

[MenuBackground]
Image=menubackground.bmp
Frame=1
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Tile=0

; Scroll bar parts: 23 frames of 17 x 17: arrows left, right, up, down (normal,
; pressed, unused, hot), horizontal grip and vertical grip (normal, pressed, hot), unused.
[Scrollbar]
Image=scrollbar.bmp

; Tracks: 4 frames of 17 x 17 (normal, pressed, disabled, hot).
[HorzScroll]
Image=hscroll.bmp
Frame=4
LeftWidth=1
RightWidth=1
TopHeight=1
BottomHeight=1
Tile=0

[VertScroll]
Image=vscroll.bmp
Frame=4
LeftWidth=1
RightWidth=1
TopHeight=1
BottomHeight=1
Tile=0

; Thumbs: 4 frames of 17 x 17 (normal, pressed, hot, disabled).
[HorzScrollThumb]
Image=hscrollthumb.bmp
FrameCount=4
Frame=4
LeftWidth=6
RightWidth=6
TopHeight=4
BottomHeight=4
Trans=1
Tile=0

[VertScrollThumb]
Image=vscrollthumb.bmp
FrameCount=4
Frame=4
LeftWidth=4
RightWidth=4
TopHeight=6
BottomHeight=6
Trans=1
Tile=0

; Track-bar thumbs: 5 frames (normal, standard, pressed, disabled, focused); the
; painter takes frame 2. Horz, Up, Down: 11 x 21; Vert, Left, Right: 21 x 11.
[Trackbar.ThumbHorz]
Image=trackthumb-horz.bmp
Frame=5
Trans=1

[Trackbar.ThumbVert]
Image=trackthumb-vert.bmp
Frame=5
Trans=1

[Trackbar.ThumbLeft]
Image=trackthumb-left.bmp
Frame=5
Trans=1

[Trackbar.ThumbRight]
Image=trackthumb-right.bmp
Frame=5
Trans=1

[Trackbar.ThumbUp]
Image=trackthumb-up.bmp
Frame=5
Trans=1

[Trackbar.ThumbDown]
Image=trackthumb-down.bmp
Frame=5
Trans=1

; Up-down: 8 frames, state + 4 x button (states normal, pressed, disabled, hot;
; buttons up then down, or left then right). The glyph strip has the same 8 frames.
; Vert: 16 x 11, Horz: 10 x 16.
[UpDown.Vert]
Image=updownvert.bmp
GlyphImage=updownvert-glyph.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Trans=1
Tile=0

[UpDown.Horz]
Image=updownhorz.bmp
GlyphImage=updownhorz-glyph.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Trans=1
Tile=0

; Track-bar channels: 1 frame, 24 x 6 and 6 x 24.
[Track]
Image=track.bmp
Frame=1
LeftWidth=3
RightWidth=3
TopHeight=2
BottomHeight=2
Tile=0

[TrackVert]
Image=trackvert.bmp
Frame=1
LeftWidth=2
RightWidth=2
TopHeight=3
BottomHeight=3
Tile=0
"""
