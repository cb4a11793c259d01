#pragma once

// The timing diagram, laid out once for every front end: the trace drawn as a
// datasheet draws it (the five controls as logic waveforms with their
// active-LOW bar, the address, data input and read register as bus lanes
// with their value, a cycle row of R and W boxes filled over the bytes they
// moved, a dashed mark where a new user action begins), as drawing
// primitives in pixels. Front ends draw the primitives with their own pen
// for each role and forward the student's events to a TimingView.
//
// Texts are placed with the core's own metrics: every text is set in a
// fixed-pitch font of kFontPixels whose advance is at most kCharWidth, so a
// label the layout lets through fits on every front end.

#include <cstdint>
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
    Bus,         // one value's stretch of a bus lane (polygon, outline only)
    BusValue,    // a bus lane's value (text)
    ActionMark,  // dashed line where a new user action begins
    ReadFill,    // the bytes a read moved (rect, translucent)
    ReadBox,     // a read step's box (rect, outline only)
    WriteFill,
    WriteBox,
    CycleLetter,  // R or W (text, centred)
    Selection,    // the band over the selected step; never exported (rect)
};

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
    std::string text;          // text only
    std::vector<int> points;   // polygon only: x, y pairs
};

// The colour each role has in the SVG ("#rrggbb"), and its opacity (1 for
// opaque); front ends may use the same. A rect of an outlined role is
// stroked, not filled; a line of a dashed role is dashed 3 on, 3 off.
std::string_view RoleColour(TimingRole role);
double RoleOpacity(TimingRole role);
bool RoleOutlined(TimingRole role);
bool RoleDashed(TimingRole role);

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
// Room kept right of the newest step, so that its value can be written even
// when the step is narrower than the value.
inline constexpr int kRightMargin = 4 * kCharWidth + 8;
inline constexpr int kTimingRows = 9;   // CE OE WE LB UB, A D Q, cycle
inline constexpr int kBaseRowPitch = 26;

// The picture's height for the lanes at their base size.
int TimingBaseHeight();
// The pitch of one lane in a picture `height` pixels high: the base pitch,
// spread by extra height up to twice it.
int TimingRowPitch(int height);

// The primitives of one frame, background first. Indices out of the trace
// are never checked: first + count must not exceed trace.size().
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
// the save dialog's), "cmdClear", "cmdUndo", "cmdZoomIn", "cmdZoomOut",
// "chkAllSteps", "cmdSaveSvg", "cmdSavePng", "cmdSaveWaveJson",
// "cmdSaveCsv" (with '&' before the mnemonic letter), "diagram", "scroll",
// "steps" (names for assistive technology), "diagramStep" (the diagram's
// name with %1 the selected step's description), "lblStatus" (the first hint),
// "filterSvg", "filterPng", "filterWaveJson", "filterCsv" (file dialog
// filters) and "saveFailed" (%1 the path). Empty for any other name.
std::string TimingText(std::string_view name);

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

    enum class Key { Left, Right, Home, End, ZoomIn, ZoomOut };

    explicit TimingView(const Trace& trace);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetSize(int width, int height);

    // Pixels per step, clamped to kMinZoom … kMaxZoom.
    int Zoom() const { return m_zoom; }
    void SetZoom(int pixels);
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
