; Graph for the reference board: tuner -> crossbar -> capture; the capture
; filter's preview pin feeds the video analyzer, which measures the frames on
; their way to the overlay mixer, which draws for the renderer; its VBI pin
; feeds the VBI analyzer, which reads the closed captions.
; The mixer's first input stays free: the memory leak test connects the
; capture pin there for its run.
[IncludeFile]
common.gf=0

[ConnectionMap]
Tuner=;1
Crossbar=1;2
Capture=2;6 0 5
Analyzer=6;3
Mixer=0 3;4
Renderer=4
Vbi=5

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

[Analyzer]
; the video analyzer of the test kit (vanalyze.ax)
CLSID=4DCF9720,E5E8,11D3,9E,FE,00,80,29,E6,43,A4
FilterType=5

[Mixer]
; the overlay mixer
CLSID=CD8743A1,3736,11D0,9E,69,00,C0,4F,D7,C1,5B
FilterType=6

[Renderer]
; the video renderer
CLSID=70E102B0,5556,11CE,97,C0,00,AA,00,55,59,5A
FilterType=1

[Vbi]
; the VBI analyzer of the test kit (vbianlyr.ax)
CLSID=554456F8,9E81,45D9,B1,8C,D6,87,F7,B8,2A,4D
FilterType=8

[Misc]
TestDuration=10

[Stream]
; UYVY
CaptureFormatGUID=59565955,0000,0010,80,00,00,AA,00,38,9B,71
VideoOutputWidth=320
VideoOutputHeight=240
