#pragma once

// The timing diagram, laid out once for every front end: the trace drawn as a
// datasheet draws it (the five controls as logic waveforms with their
// active-LOW bar, the address, data input and read register as bus lanes
// with their value, a cycle row of R and W boxes filled over the bytes they
// moved, a dashed mark where a new user action begins), as drawing
// primitives in pixels, each with a role that says how it is drawn. Front
// ends draw the primitives in their role's style and forward the student's
// events to a TimingView.
//
// Texts are placed with the core's own metrics: every text is set in a
// fixed-pitch font of kFontPixels whose advance is at most kCharWidth, so a
// label the layout lets through fits on every front end.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Trace.h"

namespace bitwell {

enum class TimingRole : std::uint8_t {
    Background,  // the whole picture (rect)
    Name,        // a lane's name (text)
    OverBar,     // the active-LOW bar over a control's name (line)
    Wave,        // a control's level and its edges (line)
    Bus,         // one value's stretch of a bus lane (polygon)
    BusValue,    // a bus lane's value (text)
    ActionMark,  // the line where a new user action begins
    ReadFill,    // the bytes a read moved (rect)
    ReadBox,     // a read step's box (rect)
    WriteFill,
    WriteBox,
    CycleLetter,  // R or W (text, centred)
    Selection,    // the band over the selected step; never exported (rect)
};
inline constexpr std::size_t kTimingRoleCount = static_cast<std::size_t>(TimingRole::Selection) + 1;

enum class TimingShape : std::uint8_t { Line, Rect, Polygon, Text };
enum class TextAnchor : std::uint8_t { Start, Middle };

// Coordinates are whole pixels from the top left. A line or an outline runs
// along the middle of the pixels it names (front ends offset it by half a
// pixel); a filled rect covers [x, x + w) × [y, y + h). Text stands on its
// baseline y, starting at x or centred on it.
struct TimingPrimitive {
    TimingShape shape = TimingShape::Line;
    TimingRole role = TimingRole::Wave;
    int x = 0, y = 0;
    int x2 = 0, y2 = 0;        // line: the end; rect: width and height
    TextAnchor anchor = TextAnchor::Start;
    std::string text = {};     // text only
    std::vector<int> points = {};  // polygon only: x, y pairs
};

// How a role is drawn, whole: the SVG writer and every front end draw from
// this alone. Any shape is filled with `fill` and stroked with `stroke`
// where they are set ("#rrggbb", "" for none); a text is written in its
// fill, in kTimingFontFamily at fontPixels. `opacity` applies to both
// colours. A stroke is `width` pixels wide, dashed `dash` on and `dash`
// off when dash > 0; a stroked shape runs along the middle of the pixels
// it names, a shape only filled covers them.
struct RoleStyle {
    TimingRole role;
    std::string_view name;  // the role's name for the page: "Wave"
    std::string_view stroke = "";
    std::string_view fill = "";
    double opacity = 1;
    int width = 1;
    int dash = 0;
    int fontPixels = 0;  // texts only
};

inline constexpr std::string_view kTimingFontFamily = "Liberation Mono, DejaVu Sans Mono, monospace";

const RoleStyle& StyleOf(TimingRole role);
// An opacity as the SVG (and JSON) writes it: "0.35", "0.2", "1".
std::string OpacityText(double opacity);
// Every role's style, in the roles' order.
std::span<const RoleStyle> RoleStyles();

// Where the steps go: steps [first, first + count) of the trace at `zoom`
// pixels each, in a picture of width × height. `selected` (a trace index, or
// -1) gets the selection band when it is among them.
struct TimingFrame {
    int first = 0;
    int count = 0;
    int zoom = 36;
    int width = 0;
    int height = 0;
    int selected = -1;
};

inline constexpr int kFontPixels = 11;
inline constexpr int kCharWidth = 7;
inline constexpr int kNamesWidth = 56;  // the names' column
// Blank room kept right of the newest step; bus values never run into it.
inline constexpr int kRightMargin = 4 * kCharWidth + 8;
inline constexpr int kTimingRows = 9;   // CE OE WE LB UB, A D Q, cycle
inline constexpr int kBaseRowPitch = 26;

// The picture's height for the lanes at their base size.
int TimingBaseHeight();
// The pitch of one lane in a picture `height` pixels high: the base pitch,
// spread by extra height up to twice it.
int TimingRowPitch(int height);

// The primitives of one frame, background first. A bus value is written
// only where it fits inside its run of the lane, and left out elsewhere.
// Indices out of the trace are never checked: first + count must not exceed
// trace.size().
std::vector<TimingPrimitive> LayoutTiming(const Trace& trace, const TimingFrame& frame);

// The SVG document of the primitives (selection bands left out), the same
// bytes on every front end.
std::string TimingSvg(const std::vector<TimingPrimitive>& primitives, int width, int height);

// Steps [first, first + count) as WaveJSON, one period per step: the five
// controls as waves (their names with over-bars), A, D and Q as data lanes,
// and the cycle row as data ("W both", "R upper").
std::string TimingWaveJson(const Trace& trace, std::size_t first, std::size_t count);

// The timing window's texts in the current language, by the name of what
// they belong to, the same on both front ends: "frmTiming" (the title and
// the save dialog's), each control's name (TimingControls, with '&' before
// the mnemonic letter), "diagram", "scroll", "steps" (names for assistive
// technology), "diagramStep" (the diagram's name with %1 the selected
// step's description), "lblStatus" (the first hint), each save's filter
// (file dialogs) and "saveFailed" (%1 the path). Empty for any other name.
std::string TimingText(std::string_view name);
// Every name TimingText knows, in the order of the window.
std::vector<std::string_view> TimingTextNames();

// What a control of the timing window does; each front end runs it with
// its own handler.
enum class TimingCommand : std::uint8_t {
    Clear, UndoClear, ZoomIn, ZoomOut, AllSteps, SaveSvg, SavePng, SaveWaveJson, SaveCsv, CopyCsv,
};
inline constexpr std::size_t kTimingCommandCount = static_cast<std::size_t>(TimingCommand::CopyCsv) + 1;

// Where a control stands: in the bar above the diagram, in the bar below
// it, or nowhere (a shortcut only).
enum class TimingBar : std::uint8_t { View, Export, KeyOnly };

// One control of the timing window. Its text is TimingText(name).
struct TimingControl {
    TimingCommand command;
    std::string_view name;  // the control's name on both front ends: "cmdClear"
    TimingBar bar;
    bool checkBox = false;       // a check box rather than a push button
    bool roomAfter = false;      // the free room of its bar follows it
    // Once it has run, the focus goes back to the diagram, so that Left and
    // Right walk the steps again and Space cannot run it a second time.
    bool backToDiagram = false;
    std::string_view shortcut = "";  // a key sequence in portable text ("Ctrl+Z"), or ""
    // A save's file: its default name (with the suffix every name is given),
    // its media type, and the name of its file dialog filter's text.
    std::string_view file = "";
    std::string_view mediaType = "";
    std::string_view filter = "";
};

// The timing window's controls in the commands' order, which is their
// order in their bars.
std::span<const TimingControl> TimingControls();

// What a view of the diagram does: its size, zoom, the first step shown,
// following the newest step, the selection and the keys. Holds no drawing;
// the trace must outlive it, and TraceChanged() must be called whenever the
// trace grows or is cleared.
class TimingView {
public:
    static constexpr int kMinZoom = 4;
    static constexpr int kMaxZoom = 96;
    static constexpr int kDefaultZoom = 36;
    // All kept steps are exported at a zoom that fits them into this width.
    static constexpr int kMaxExportWidth = 16384;
    // One zoom step multiplies or divides the zoom by this; one notch of a
    // wheel scrolls this many steps.
    static constexpr int kZoomStep = 2;
    static constexpr int kWheelSteps = 4;
    // A finger swiped sideways walks one step per this many pixels.
    static constexpr int kSwipePixels = 6;

    enum class Key { Left, Right, Home, End, ZoomIn, ZoomOut };
    struct KeyName {
        std::string_view name;
        Key key;
    };
    // The keys by the names both front ends give them: "Left", "Right",
    // "Home", "End", "+" and "=" (zoom in), "-" (zoom out).
    static std::span<const KeyName> KeyNames();
    static std::optional<Key> KeyNamed(std::string_view name);

    explicit TimingView(const Trace& trace);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetSize(int width, int height);

    // Pixels per step, clamped to kMinZoom … kMaxZoom.
    int Zoom() const { return m_zoom; }
    void SetZoom(int pixels);
    // Zooms in by `steps` zoom steps, out when negative.
    void ZoomBy(int steps);
    // One notch of a wheel: forward (notches > 0, away from the student)
    // scrolls back to earlier steps, or with `zoom` zooms in; backward the
    // other way. Only the sign counts.
    void Wheel(int notches, bool zoom);
    // A finger swiped `pixels` to the left (right when negative) since it
    // touched the view with `firstAtTouch` the first step shown: later
    // steps come into view, as a sideways wheel brings them.
    void Swipe(int firstAtTouch, int pixels);
    // How many steps fit the width at this zoom (at least 1).
    int VisibleSteps() const;
    // Index in the trace of the leftmost step shown, and its largest value.
    int First() const { return m_first; }
    int LastFirst() const;
    // Scrolls; following again once the newest step is in view.
    void SetFirst(int index);
    bool Following() const { return m_following; }
    // The trace grew or was cleared: follow the newest step while
    // following, and always after a Clear (or its undoing).
    void TraceChanged();

    // Index of the selected step, or -1; selecting scrolls it into view.
    int Selected() const { return m_selected; }
    void Select(int index);
    // The step under x (pixels from the picture's left), or -1.
    int StepAt(int x) const;
    // False when the key means nothing here (the front end passes it on).
    bool Press(Key key);

    // The frame on screen, with the selection band.
    TimingFrame Frame() const;
    std::vector<TimingPrimitive> Draw() const { return LayoutTiming(m_trace, Frame()); }
    // The frame an export draws: the steps in view at the view's size, or
    // every kept step at the zoom that fits them into kMaxExportWidth (or
    // the view's zoom if smaller). Never with the selection band.
    TimingFrame ExportFrame(bool allSteps) const;
    std::string Svg(bool allSteps) const;
    std::string WaveJson(bool allSteps) const;

private:
    void clampFirst();

    const Trace& m_trace;
    int m_width = 720;
    int m_height = 0;
    int m_zoom = kDefaultZoom;
    int m_first = 0;
    int m_selected = -1;
    bool m_following = true;
    std::uint64_t m_clears = 0;
};

}  // namespace bitwell
