; Graph for the reference board: tuner -> crossbar -> capture, preview -> renderer.
[IncludeFile]
common.gf=0

[ConnectionMap]
Tuner=;1
Crossbar=1;2
Capture=2;0 3 0
Renderer=3

[Tuner]
; the TV tuner device category
CLSID=A799A800,A46D,11D0,A1,8C,00,A0,24,01,DC,D4
FriendlyName=Qel TV Tuner
FilterType=2

[Crossbar]
; the crossbar device category
CLSID=A799A801,A46D,11D0,A1,8C,00,A0,24,01,DC,D4
FilterType=4
InputPin=0

[Capture]
; the video input device category
CLSID=860BB310,5D01,11D0,BD,3B,00,A0,C9,11,CE,86
FilterType=3
VideoStandard=1

[Renderer]
; the video renderer
CLSID=70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A
FilterType=1

[Misc]
TestDuration=10

[Stream]
; UYVY
CaptureFormatGUID=59565955,0000,0010,80,00,00,AA,00,38,9B,71
VideoOutputWidth=320
VideoOutputHeight=240
