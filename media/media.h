// media.h — the one door to the machine.
//
// Display and 2D drawing, images, fonts, sound channels, keyboard, mouse and
// joysticks, and (from core.h) files and folders, embedded files, memory
// blocks, text helpers, the clock, the random generator and the logs.
// Everything outside media/ reaches the machine through these functions
// only; the SDL2 code lives behind them.
//
// Conventions:
//   - Handles are int; 0 means "nothing". Calls given 0 or a stale handle do
//     nothing and return 0 / false / empty.
//   - Drawing coordinates and the mouse are in virtual units (see
//     SetVirtualResolution); angles are degrees; colours 0..255, alpha 0..1.
//   - Keys are Windows virtual-key numbers 1..255 (VK_* below).
//   - Loaders (images, fonts, sounds, scripts) never fail in silence: each
//     failure is one line naming the file and why (missing, unreadable,
//     damaged, too large), through LogFailure. Declared sizes beyond sane
//     bounds are refused before anything that size is allocated. Every
//     loader also takes "incbin::" names, so bytes in memory (a test, a
//     fuzzer) reach it through RegisterEmbedded.
//   - For tests and replays the services run headless (dummy video and audio),
//   on a virtual clock whose waits return at once, and with input scripted
//   by virtual time, delivered through the same path as window events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/core.h"

// ---------------------------------------------------------------- start-up

struct MediaConfig {
  bool headless = false;      // dummy video and audio drivers
  bool virtualClock = false;  // Millisecs() advances only through waits
};

void StartMedia(const MediaConfig& config);
void StopMedia();  // closes everything; safe to call twice
bool MediaHeadless();

// SIGTERM, SIGHUP (the terminal closed) and SIGINT are noted rather than
// ending the program, so it can save and close down from its own loop; a
// second one ends it at once. TerminationSignal is the signal noted, or 0.
void CatchTerminationSignals();
int TerminationSignal();

// ---------------------------------------------------------------- display

struct DisplayMode {
  int width, height, depth, hz;
};
std::vector<DisplayMode> ListDisplayModes();
bool FullScreenModeExists(int width, int height, int depth);  // any refresh rate

enum { RENDERER_OPENGL = 0, RENDERER_DX9 = 1, RENDERER_DX7 = 2 };
void ChooseRenderer(int choice);  // applies at the next OpenDisplay
std::string RendererName();       // the SDL render driver actually in use
// The choice whose render driver is in use (SDL may have fallen back to
// another), or -1 with no display or a driver none of them names.
int RendererInUse();

void SetCaption(const std::string& caption);  // before or after opening
// The window's icon from a PNG file, kept for every window opened later;
// false (the icon unchanged) when the file cannot be read.
bool SetWindowIcon(const std::string& path);
// depth 0 = a window. False, with a line saying why, when none opens; with
// no screen at all SDL's invisible offscreen driver does not count.
bool OpenDisplay(int width, int height, int depth, int hz);
void CloseDisplay();  // frees every image and font (their handles go stale)
bool DisplayOpen();
int RealWidth();
int RealHeight();
// The open window to full screen over the whole desktop, the picture scaled
// to fit, or back to a window; true when it then is as asked.
bool SetFullScreen(bool on);
bool DisplayFullScreen();  // the open display covers the screen now

// The virtual screen every draw and the mouse are measured in. Opening a
// display sets it to the real size until the program chooses its own. It is
// kept here only; VirtW and VirtH are read-only views of it.
void SetVirtualResolution(int width, int height);
extern const int& VirtW;
extern const int& VirtH;

void Cls();           // back buffer to black
void Flip(int sync);  // 0: present now; -1: present paced by the clock

void HidePointer();
void ShowPointer();
void MovePointer(float x, float y);  // virtual units

// Pixel maps: plain RGBA copies of the back buffer (real pixels).
int GrabPixmap(int x, int y, int width, int height);
int GrabImage(int x, int y, int width, int height);  // a new one-frame image
uint32_t PixmapPixel(int pixmap, int x, int y);      // 0xAARRGGBB, 0 outside
int PixmapWidth(int pixmap);
int PixmapHeight(int pixmap);
bool SavePixmapPNG(int pixmap, const std::string& path, int level);  // 0..9
void FreePixmap(int pixmap);

// Reads one back-buffer pixel in real display pixels (tests, screenshots).
uint32_t ReadBackPixel(int x, int y);  // 0xAARRGGBB
void FinishDrawing();                  // waits until the renderer has drawn all it was asked to

// ---------------------------------------------------------------- images

enum { IMAGE_MASKED = 1, IMAGE_FILTERED = 2 };  // masked: black is transparent

// PNG, at most 8192 pixels a side and 4096 x 4096 in all; 0 on failure.
int LoadImage(const std::string& path, int flags);
int LoadImageStrip(const std::string& path, int cellWidth, int cellHeight, int firstCell, int cellCount, int flags);
void FreeImage(int image);
void AutoCentre(bool on);  // later loads get their handle at the centre
void SetImageHandle(int image, float x, float y);
int ImageWidth(int image);  // one frame, unscaled
int ImageHeight(int image);
int ImageFrames(int image);

// Drawing state: applies to every later draw until changed.
enum { BLEND_SOLID = 0, BLEND_ALPHA = 1, BLEND_MULTIPLY = 2, BLEND_ADD = 3 };
void SetColour(int r, int g, int b);
void SetAlpha(float alpha);
void SetBlend(int kind);
void SetRotation(float degrees);
void SetScale(float sx, float sy);
float GetAlpha();
int GetBlend();
float GetRotation();
float GetScaleX();
float GetScaleY();
void GetColour(int* r, int* g, int* b);

// The frame's handle point lands on (x, y); tint, alpha, blend, rotation and
// scale apply about that point.
void DrawImage(int image, float x, float y, int frame);
void DrawRect(float x, float y, float width, float height);  // filled, about (x, y)
void DrawLine(float x1, float y1, float x2, float y2, bool lastPixel);

// True when opaque pixels of the two frames, placed by their handles at the
// two points (scale 1, no rotation), overlap.
bool ImagesCollide(int imageA, float ax, float ay, int frameA, int imageB, float bx, float by, int frameB);

// ---------------------------------------------------------------- fonts

// TrueType; a glyph over four times the pixel size stays blank. 0 on failure.
int LoadFont(const std::string& path, int pixelSize, bool smooth);
void FreeFont(int font);
void SetFont(int font);
int CurrentFont();
void DrawText(const std::string& text, float x, float y);  // top-left at (x, y)
int TextWidth(const std::string& text);                    // unscaled sum of advances
int FontHeight();                                          // line height of the current font

// A face's shape as fractions of the pixel size it is loaded at: the height
// of its ink over the printable ASCII characters (tallest ascender to lowest
// descender) and the average advance over letters, digits and space. Zeros
// when the file cannot be read.
struct FaceMetrics {
  float inkHeight = 0, advance = 0;
};
FaceMetrics MeasureFace(const std::string& path);

// A layout check records where every text, filled rectangle and image lands,
// in virtual units, and when the screen is cleared; nothing is recorded
// unless a check sets a recorder (nullptr stops it).
enum { DRAWN_CLEAR = 0, DRAWN_TEXT = 1, DRAWN_RECT = 2, DRAWN_IMAGE = 3 };
struct DrawnBox {
  int kind;
  std::string text;
  float left, top, right, bottom;
  bool turned;  // drawn under a rotation: the box is the turned shape's bounds
};
void SetDrawRecorder(void (*recorder)(const DrawnBox&));

// ---------------------------------------------------------------- GIF capture

// Offered each shown frame before its overlays: every 66 ms of the clock a
// frame is kept at half the window's size, and the last ten seconds stay.
void CaptureGifFrame();
int GifFramesHeld();
// Starts writing the kept frames as an animated GIF on a worker thread, and
// keeps from afresh; "" when started, else why not.
std::string SaveGif(const std::string& path);
// How the last save ended, reported once: 0 nothing new, 1 saved, -1 failed
// (the file and why).
int GifSaveOutcome(std::string* path, std::string* why);
void WaitForGifSave();  // until a save under way has ended

// ---------------------------------------------------------------- sound

// The drivers that can reach a speaker (not SDL's "disk" and "dummy"), at
// most 100 names.
std::vector<std::string> ListAudioDrivers();
bool AudioDriverExists(const std::string& name);  // case-insensitive
// Reopens output on that driver; false, on the one before, when it will not
// open. A headless start keeps its silent output whatever is asked.
bool SetAudioDriver(const std::string& name);
std::string AudioDriverInUse();  // SDL's name for the driver output is on, or ""
bool EnableOpenAL();             // there is no OpenAL back end here: always false

// WAV of plain 8 to 32-bit samples, 1 to 8 channels, 4 to 192 kHz, up to
// ten minutes; 0 on failure.
int LoadSound(const std::string& path);
void FreeSound(int sound);
int AllocChannel();
// Prepares the sound paused on the given channel (0 = a new one) and
// returns the channel, or 0.
int CueSound(int sound, int channel = 0);
void ResumeChannel(int channel);
void StopChannel(int channel);
bool ChannelPlaying(int channel);
void SetChannelVolume(int channel, float volume);  // 0..1
void SetChannelPan(int channel, float pan);        // -1 left .. +1 right
void SetChannelRate(int channel, float rate);      // 1 recorded pitch, 2 octave up

// Mixes the playing channels into interleaved stereo 16-bit frames at 44.1 kHz.
// A mix that stays below three quarters of full scale comes out exactly as
// summed; a louder one is limited softly and never reaches the rail.
// The audio device calls it; tests and benchmarks may call it directly.
void MixAudio(int16_t* out, int frames);
// Silences all output (music and effects) while on; channels play on unheard.
void SetSoundMuted(bool muted);
bool SoundMuted();

// ---------------------------------------------------------------- input

enum {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_F1 = 112,
  VK_F4 = 115,
  VK_F9 = 120,
  VK_F10 = 121,
  VK_F11 = 122,
  VK_F12 = 123,
  VK_LMENU = 164,
  VK_RMENU = 165,
};

// The one event pump: the frame end runs it once a frame, and the few waits
// outside frames run it themselves. Reads never pump; they answer from the
// state the last pump left.
void PollEvents();
int KeyHit(int vk);    // presses since the last read of that key
bool KeyDown(int vk);  // held, or pressed since the last pump (a quick tap lasts a frame)
// The key's press is taken: it reads as up, with no hits, until let go and
// pressed again, so no one else acts on it.
void TakeKey(int vk);
float PointerX();  // mouse position as of the last pump, virtual units
float PointerY();
int MouseHit(int button);    // 1 left, 2 right, 3 middle
bool MouseDown(int button);  // as KeyDown
int NextChar();              // typed-character queue of 256; 0 when empty
// Pumps, then forgets every press so far: hit counts and typed characters
// are dropped, and keys and buttons still held are taken (see TakeKey).
void FlushInput();
// The same without pumping: what is still on its way counts later.
void ForgetInput();
bool CloseRequested();  // once per close-button press
bool FocusLost();       // once per loss of the window's focus

enum { AXIS_X = 0, AXIS_Y = 1, AXIS_Z = 2, AXIS_R = 3, AXIS_U = 4, AXIS_V = 5 };
int JoystickCount();
std::string JoystickName(int j);  // j from 0
int JoystickButtonMask(int j);
bool JoystickButtonDown(int j, int button);
float JoystickAxis(int j, int axis);  // about -1..1
float JoystickHat(int j);             // -1 centred, else clockwise fraction from up
int JoystickChanges();                // grows each time a joystick is plugged in or out

// Standard pads: joysticks whose layout SDL's game-controller mappings know
// (SDL's own database, or SDL_GAMECONTROLLERCONFIG from the environment)
// also read by that layout, in SDL's order: buttons A B X Y, Back, Guide,
// Start, the two stick presses, the two shoulders, the D-pad up, down, left
// and right, then Misc, four paddles and the touchpad; axes the left stick's
// X and Y, the right stick's, and the two triggers (0..1).
enum { PAD_BUTTONS = 21, PAD_AXES = 6 };
enum {
  PAD_A = 0,
  PAD_B = 1,
  PAD_X = 2,
  PAD_Y = 3,
  PAD_DPAD_UP = 11,
  PAD_DPAD_DOWN = 12,
  PAD_DPAD_LEFT = 13,
  PAD_DPAD_RIGHT = 14,
  PAD_LEFT_X = 0,
  PAD_LEFT_Y = 1,
};
bool JoystickIsPad(int j);
bool PadButtonDown(int j, int button);
float PadAxis(int j, int axis);

// Scripted input, by clock time, delivered like window events.
// Script lines: "<ms> <verb> <args>" — see README for the verbs.
// False when the file cannot be read; a line that makes no sense is
// skipped and named, with its number, on standard error.
bool LoadInputScript(const std::string& path);
void ScriptKey(int atMillis, int vk, bool down);
void ScriptMouseMove(int atMillis, float x, float y);
void ScriptMouseButton(int atMillis, int button, bool down);
void ScriptText(int atMillis, const std::string& text);
void ScriptClose(int atMillis);
void ScriptFocusLost(int atMillis);
void ScriptJoystick(int atMillis, int j, int kind, int index, float value);  // kind 0 axis, 1 button, 2 hat
void AddVirtualJoystick(const std::string& name, int buttons);               // tests

// ---------------------------------------------------------------- recordings

// Every input the program acts on is noted with the number of the event pump
// that brought it, and so is every value taken from outside that can change
// the program's course. A recording holds those notes: a first line
// "recording VERSION clock virtual|real seeds S..." and then
// "@PUMP verb arguments" lines (see README); replayed, each event comes at the
// pump of its number and each value comes back in the order it was taken, so
// the run takes the same course on any machine and at any speed.
void SetRecordingVersion(const std::string& version);  // written into and checked against recordings
// The value the program goes on with: `live` (noted), or in a replay the one
// the recording took at this point.
std::string RecordedText(const std::string& what, const std::string& live);
int RecordedNumber(const std::string& what, int live);
int SeedFromClock();                                 // Millisecs() as a seed, through RecordedNumber("seed")
void RecordSession();                                // keep the notes of the whole run
bool SaveSessionRecording(const std::string& path);  // false when it could not be written
// A take is one game's notes: from StartTake (with the input state then) to
// EndTake, kept until the next StartTake.
void StartTake();
void EndTake();
bool SaveTake(const std::string& path);
// Plays a take back in place of the player's input; "" once it runs, else
// the message saying why not ("This replay was made by another version",
// "... was not found", "... is damaged", "... is cut short").
std::string WatchRecording(const std::string& path);
enum { WATCH_OVER = 0, WATCH_ON, WATCH_STOPPED, WATCH_ASTRAY };
int WatchStatus();    // stopped: a key, click or close; astray: long past the recorded end
void StopWatching();  // the player's input again, nothing held; a close asked meanwhile is passed on

// ---------------------------------------------------------------- misc

int CollectGarbage();   // a count: live handles freed since last call
int64_t MemoryInUse();  // bytes held by loaded media and banks

// What a long run watches for leaks: the media's live handles of each kind,
// the process's resident memory and its open file descriptors.
struct MediaFigures {
  int images = 0, fonts = 0, pixmaps = 0, sounds = 0, streams = 0, banks = 0;
  int64_t residentBytes = 0;
  int openFiles = 0;
};
MediaFigures CountMediaFigures();
// The player's own folder for this program, from the system's convention
// (on Linux $XDG_DATA_HOME/<name>/, usually ~/.local/share/<name>/), made if
// missing; empty when there is none.
std::string PrefFolder(const std::string& name);
[[noreturn]] void EndProcess(int code);
