#include "core/Timing.h"

#include "core/Json.h"

#include <algorithm>
#include <cmath>

#include "core/Catalogue.h"
#include "core/Xml.h"

namespace bitwell {

namespace {

constexpr int kTop = 8;
constexpr int kLaneGap = 10;  // between one lane's waveform and the next

const char* const kControlNames[5] = {"CE", "OE", "WE", "LB", "UB"};
const char* const kBusNames[3] = {"A", "D", "Q"};

constexpr std::string_view kBlack = "#000000";
constexpr std::string_view kRead = "#1f5fc8";
constexpr std::string_view kWrite = "#c8321e";

constexpr RoleStyle kStyles[] = {
    {.role = TimingRole::Background, .name = "Background", .fill = "#ffffff"},
    {.role = TimingRole::Name, .name = "Name", .fill = kBlack, .fontPixels = kFontPixels},
    {.role = TimingRole::OverBar, .name = "OverBar", .stroke = kBlack},
    {.role = TimingRole::Wave, .name = "Wave", .stroke = kBlack},
    {.role = TimingRole::Bus, .name = "Bus", .stroke = kBlack},
    {.role = TimingRole::BusValue, .name = "BusValue", .fill = kBlack, .fontPixels = kFontPixels},
    {.role = TimingRole::ActionMark, .name = "ActionMark", .stroke = "#999999", .dash = 3},
    {.role = TimingRole::ReadFill, .name = "ReadFill", .fill = kRead, .opacity = 0.35},
    {.role = TimingRole::ReadBox, .name = "ReadBox", .stroke = kRead},
    {.role = TimingRole::WriteFill, .name = "WriteFill", .fill = kWrite, .opacity = 0.35},
    {.role = TimingRole::WriteBox, .name = "WriteBox", .stroke = kWrite},
    {.role = TimingRole::CycleLetter, .name = "CycleLetter", .fill = kBlack, .fontPixels = kFontPixels},
    {.role = TimingRole::Selection, .name = "Selection", .fill = "#308cc6", .opacity = 0.2},
};

// Each role has its style, at its own place.
constexpr bool EveryRoleInPlace() {
    for (std::size_t i = 0; i < std::size(kStyles); ++i)
        if (static_cast<std::size_t>(kStyles[i].role) != i || kStyles[i].name.empty()) return false;
    return true;
}
static_assert(std::size(kStyles) == kTimingRoleCount && EveryRoleInPlace());

const std::string& Bus(const TraceStep& s, int lane) {
    return lane == 0 ? s.address : lane == 1 ? s.data : s.read;
}

// Draws into one vector, keeping the call sites short.
struct Pen {
    std::vector<TimingPrimitive>& out;

    TimingPrimitive& add(TimingShape shape, TimingRole role, int x, int y, int x2 = 0, int y2 = 0) {
        TimingPrimitive& p = out.emplace_back();
        p.shape = shape;
        p.role = role;
        p.x = x;
        p.y = y;
        p.x2 = x2;
        p.y2 = y2;
        return p;
    }
    void line(TimingRole role, int x1, int y1, int x2, int y2) { add(TimingShape::Line, role, x1, y1, x2, y2); }
    void rect(TimingRole role, int x, int y, int w, int h) { add(TimingShape::Rect, role, x, y, w, h); }
    void text(TimingRole role, int x, int y, std::string text, TextAnchor anchor = TextAnchor::Start) {
        TimingPrimitive& p = add(TimingShape::Text, role, x, y);
        p.anchor = anchor;
        p.text = std::move(text);
    }
    void polygon(TimingRole role, std::vector<int> points) {
        add(TimingShape::Polygon, role, 0, 0).points = std::move(points);
    }
};

// Lanes of one picture height.
struct Rows {
    int pitch;
    int lane;
    int top(int row) const { return kTop + row * pitch; }
    int baseline(int row) const { return top(row) + lane / 2 + kFontPixels / 2 - 1; }
};

// The text of a number for SVG at the middle of its pixel.
std::string Half(int v) {
    return v >= 0 ? std::to_string(v) + ".5" : "-" + std::to_string(-v - 1) + ".5";
}

}  // namespace

std::string OpacityText(double opacity) {
    const long percent = std::lround(opacity * 100);
    if (percent >= 100) return "1";
    std::string text = "0." + std::to_string(100 + percent).substr(1);
    if (text.back() == '0') text.pop_back();
    return text;
}

const RoleStyle& StyleOf(TimingRole role) { return kStyles[static_cast<std::size_t>(role)]; }
std::span<const RoleStyle> RoleStyles() { return kStyles; }

int TimingBaseHeight() { return kTop + kTimingRows * kBaseRowPitch + 4; }

int TimingRowPitch(int height) {
    return std::clamp((height - kTop - 4) / kTimingRows, kBaseRowPitch, 2 * kBaseRowPitch);
}

std::vector<TimingPrimitive> LayoutTiming(const Trace& trace, const TimingFrame& f) {
    std::vector<TimingPrimitive> out;
    out.reserve(static_cast<std::size_t>(f.count) * 12 + 32);
    Pen pen{out};
    const Rows rows{TimingRowPitch(f.height), TimingRowPitch(f.height) - kLaneGap};
    const int zoom = f.zoom;
    const int bottom = rows.top(kTimingRows) - kLaneGap + 4;
    pen.rect(TimingRole::Background, 0, 0, f.width, f.height);

    // Names; the five controls carry the active-LOW over-bar as on the panel.
    for (int row = 0; row < kTimingRows; ++row) {
        std::string name = row < 5   ? kControlNames[row]
                           : row < 8 ? kBusNames[row - 5]
                                     : Tr("timing", "Cycle");
        if (row < 5) {
            const int y = rows.baseline(row) - kFontPixels + 2;
            pen.line(TimingRole::OverBar, 4, y, 4 + static_cast<int>(name.size()) * kCharWidth - 2, y);
        }
        pen.text(TimingRole::Name, 4, rows.baseline(row), std::move(name));
    }
    if (f.count <= 0) return out;

    const int end = f.first + f.count;
    const auto at = [&](int i) -> const TraceStep& { return trace[static_cast<std::size_t>(i)]; };
    const auto xOf = [&](int i) { return kNamesWidth + (i - f.first) * zoom; };

    // A new user action starts here.
    for (int i = std::max(f.first, 1); i < end; ++i)
        if (at(i - 1).action != at(i).action)
            pen.line(TimingRole::ActionMark, xOf(i), kTop - 4, xOf(i), bottom);

    // The controls: one line per run of a level, an edge between runs.
    for (int row = 0; row < 5; ++row) {
        const int top = rows.top(row);
        const auto yOf = [&](int level) { return level ? top : top + rows.lane; };
        if (f.first > 0 && at(f.first - 1).levels[row] != at(f.first).levels[row])
            pen.line(TimingRole::Wave, xOf(f.first), top, xOf(f.first), top + rows.lane);
        for (int i = f.first; i < end;) {
            const int level = at(i).levels[row];
            int j = i + 1;
            while (j < end && at(j).levels[row] == level) ++j;
            pen.line(TimingRole::Wave, xOf(i), yOf(level), xOf(j), yOf(level));
            if (j < end) pen.line(TimingRole::Wave, xOf(j), top, xOf(j), top + rows.lane);
            i = j;
        }
    }

    // The buses: one outline per run of a value, pointed where the value
    // changes, labelled at the first step in view and at every change.
    const int slant = std::min(3, zoom / 4);
    for (int lane = 0; lane < 3; ++lane) {
        const int top = rows.top(5 + lane);
        const int mid = top + rows.lane / 2;
        const int low = top + rows.lane;
        for (int i = f.first; i < end;) {
            const std::string& value = Bus(at(i), lane);
            int j = i + 1;
            while (j < end && Bus(at(j), lane) == value) ++j;
            const bool pointedLeft = i > f.first || (i > 0 && Bus(at(i - 1), lane) != value);
            const bool pointedRight = j < end;
            const int xs = xOf(i);
            const int xe = xOf(j);
            const int l = pointedLeft ? slant : 0;
            const int r = pointedRight ? slant : 0;
            pen.polygon(TimingRole::Bus, {xs, mid, xs + l, top, xe - r, top, xe, mid, xe - r, low, xs + l, low});
            // A value is written only where it fits its run, the newest too:
            // a label past the lane's end would seem to belong to no step.
            const int room = xe - r - (xs + l + 2);
            if (static_cast<int>(value.size()) * kCharWidth <= room)
                pen.text(TimingRole::BusValue, xs + l + 2, rows.baseline(5 + lane), value);
            i = j;
        }
    }

    // The cycle row: a box per read or write, filled over the bytes moved
    // (the upper half for the upper byte).
    const int top = rows.top(8);
    for (int i = f.first; i < end; ++i) {
        const TraceStep& s = at(i);
        if (s.cycle == Cycle::None) continue;
        const bool read = s.cycle == Cycle::Read;
        const int x = xOf(i) + 1;
        const int w = zoom - 2;
        const int half = rows.lane / 2;
        const int fillTop = s.bytes == Bytes::Lower ? top + half : top;
        const int fillHeight = s.bytes == Bytes::Upper || s.bytes == Bytes::Lower ? half : rows.lane;
        pen.rect(read ? TimingRole::ReadFill : TimingRole::WriteFill, x, fillTop, w, fillHeight);
        pen.rect(read ? TimingRole::ReadBox : TimingRole::WriteBox, x, top, w - 1, rows.lane - 1);
        if (zoom >= 10)
            pen.text(TimingRole::CycleLetter, x + w / 2, rows.baseline(8), read ? "R" : "W", TextAnchor::Middle);
    }

    if (f.selected >= f.first && f.selected < end)
        pen.rect(TimingRole::Selection, xOf(f.selected), kTop - 4, zoom, bottom - kTop + 4);
    return out;
}

std::string TimingSvg(const std::vector<TimingPrimitive>& primitives, int width, int height) {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
                      std::to_string(width) + " " + std::to_string(height) +
                      "\" font-family=\"" + std::string(kTimingFontFamily) + "\" font-size=\"" +
                      std::to_string(kFontPixels) + "\">\n<title>";
    AppendXml(svg, Tr("timing", "Timing Diagram"));
    svg += "</title>\n";
    svg.reserve(primitives.size() * 80);
    for (const TimingPrimitive& p : primitives) {
        if (p.role == TimingRole::Selection) continue;
        const RoleStyle& style = StyleOf(p.role);
        // A stroke runs along the middle of its pixels; a fill covers them.
        const auto at = [&](int v) { return style.stroke.empty() ? std::to_string(v) : Half(v); };
        switch (p.shape) {
            case TimingShape::Line:
                svg += "<line x1=\"" + at(p.x) + "\" y1=\"" + at(p.y) + "\" x2=\"" + at(p.x2) + "\" y2=\"" + at(p.y2) + "\"";
                break;
            case TimingShape::Rect:
                svg += "<rect x=\"" + at(p.x) + "\" y=\"" + at(p.y) + "\" width=\"" + std::to_string(p.x2) +
                       "\" height=\"" + std::to_string(p.y2) + "\"";
                break;
            case TimingShape::Polygon:
                svg += "<polygon points=\"";
                for (std::size_t k = 0; k + 1 < p.points.size(); k += 2) {
                    if (k) svg += ' ';
                    svg += at(p.points[k]) + "," + at(p.points[k + 1]);
                }
                svg += "\"";
                break;
            case TimingShape::Text:
                svg += "<text x=\"" + std::to_string(p.x) + "\" y=\"" + std::to_string(p.y) + "\"";
                if (p.anchor == TextAnchor::Middle) svg += " text-anchor=\"middle\"";
                if (style.fontPixels != kFontPixels) svg += " font-size=\"" + std::to_string(style.fontPixels) + "\"";
                break;
        }
        const std::string opacity = style.opacity < 1 ? OpacityText(style.opacity) : "";
        if (!style.fill.empty()) {
            svg += " fill=\"" + std::string(style.fill) + "\"";
            if (!opacity.empty()) svg += " fill-opacity=\"" + opacity + "\"";
        } else if (p.shape != TimingShape::Line) {
            svg += " fill=\"none\"";
        }
        if (!style.stroke.empty()) {
            svg += " stroke=\"" + std::string(style.stroke) + "\"";
            if (!opacity.empty()) svg += " stroke-opacity=\"" + opacity + "\"";
            if (style.width != 1) svg += " stroke-width=\"" + std::to_string(style.width) + "\"";
            if (style.dash > 0) svg += " stroke-dasharray=\"" + std::to_string(style.dash) + " " + std::to_string(style.dash) + "\"";
        }
        if (p.shape == TimingShape::Text) {
            svg += '>';
            AppendXml(svg, p.text);
            svg += "</text>\n";
        } else {
            svg += "/>\n";
        }
    }
    svg += "</svg>\n";
    return svg;
}

std::string TimingWaveJson(const Trace& trace, std::size_t first, std::size_t count) {
    const auto at = [&](std::size_t i) -> const TraceStep& { return trace[first + i]; };
    std::string json = "{\"signal\": [\n";
    // A lane with one character per step; a step whose `key` equals the
    // step before continues it ('.').
    const auto lane = [&](std::string_view name, auto key, auto wave, auto data, bool last) {
        json += "  {\"name\": \"";
        AppendJsonEscaped(json, name);
        json += "\", \"wave\": \"";
        std::vector<std::string> values;
        for (std::size_t i = 0; i < count; ++i) {
            // A cycle's box ('3' read, '5' write) always starts anew.
            const char c = wave(at(i));
            if (i > 0 && c != '3' && c != '5' && key(at(i)) == key(at(i - 1))) {
                json += '.';
                continue;
            }
            json += c;
            if (std::string d = data(at(i)); !d.empty()) values.push_back(std::move(d));
        }
        json += "\"";
        if (!values.empty()) {
            json += ", \"data\": [";
            for (std::size_t k = 0; k < values.size(); ++k) {
                json += k ? ", \"" : "\"";
                AppendJsonEscaped(json, values[k]);
                json += '"';
            }
            json += ']';
        }
        json += last ? "}\n" : "},\n";
    };
    const auto none = [](const TraceStep&) { return std::string(); };
    for (int row = 0; row < 5; ++row) {
        // The active-LOW bar: a combining overline after each letter.
        std::string name;
        for (const char* c = kControlNames[row]; *c; ++c) (name += *c) += "\xCC\x85";
        lane(name, [row](const TraceStep& s) { return s.levels[row]; },
             [row](const TraceStep& s) { return s.levels[row] ? '1' : '0'; }, none, false);
    }
    for (int b = 0; b < 3; ++b) {
        lane(kBusNames[b], [b](const TraceStep& s) { return Bus(s, b); }, [](const TraceStep&) { return '='; },
             [b](const TraceStep& s) { return Bus(s, b); }, false);
    }
    // Every read or write step is a cycle of its own: no continuation.
    lane(Tr("timing", "Cycle"), [](const TraceStep& s) { return s.cycle; },
         [](const TraceStep& s) { return s.cycle == Cycle::Read ? '3' : s.cycle == Cycle::Write ? '5' : 'x'; },
         [](const TraceStep& s) {
             if (s.cycle == Cycle::None) return std::string();
             return std::string(s.cycle == Cycle::Read ? "R " : "W ") + std::string(BytesName(s.bytes));
         },
         true);
    json += "],\n \"config\": {\"hscale\": 1}}\n";
    return json;
}

namespace {

struct TextEntry {
    std::string_view name;
    std::string (*text)();
};

// Literal texts, for the catalogue's extraction.
const TextEntry kTexts[] = {
    {"frmTiming", [] { return Tr("timing", "Timing Diagram"); }},
    {"cmdClear", [] { return Tr("timing", "C&lear"); }},
    {"cmdUndo", [] { return Tr("timing", "&Undo Clear"); }},
    {"cmdZoomIn", [] { return Tr("timing", "Zoom &In"); }},
    {"cmdZoomOut", [] { return Tr("timing", "Zoom &Out"); }},
    {"chkAllSteps", [] { return Tr("timing", "&All kept steps"); }},
    {"cmdSaveSvg", [] { return Tr("timing", "Save as &SVG..."); }},
    {"cmdSavePng", [] { return Tr("timing", "Save as &PNG..."); }},
    {"cmdSaveWaveJson", [] { return Tr("timing", "Save as Wave&Drom..."); }},
    {"cmdSaveCsv", [] { return Tr("timing", "Save as &CSV..."); }},
    {"diagram", [] { return Tr("timing", "Timing diagram"); }},
    {"diagramStep", [] { return Tr("timing", "Timing diagram: %1"); }},
    {"scroll", [] { return Tr("timing", "Steps shown"); }},
    {"steps", [] { return Tr("timing", "Kept steps"); }},
    {"lblStatus", [] { return Tr("timing", "Point at a step, or use Left and Right, to see what it did."); }},
    // The same on a touch screen, for the page.
    {"touchStatus", [] { return Tr("timing", "Tap a step to see what it did, or swipe to move along the steps."); }},
    {"filterSvg", [] { return Tr("timing", "SVG images (*.svg)"); }},
    {"filterPng", [] { return Tr("timing", "PNG images (*.png)"); }},
    {"filterWaveJson", [] { return Tr("timing", "WaveDrom files (*.json)"); }},
    {"filterCsv", [] { return Tr("timing", "CSV files (*.csv)"); }},
    {"saveFailed", [] { return Tr("timing", "The file %1 could not be written."); }},
};

using C = TimingCommand;
using B = TimingBar;
constexpr TimingControl kControls[] = {
    {.command = C::Clear, .name = "cmdClear", .bar = B::View, .backToDiagram = true},
    {.command = C::UndoClear, .name = "cmdUndo", .bar = B::View, .backToDiagram = true, .shortcut = "Ctrl+Z"},
    {.command = C::ZoomIn, .name = "cmdZoomIn", .bar = B::View},
    {.command = C::ZoomOut, .name = "cmdZoomOut", .bar = B::View},
    {.command = C::AllSteps, .name = "chkAllSteps", .bar = B::Export, .checkBox = true, .roomAfter = true},
    {.command = C::SaveSvg, .name = "cmdSaveSvg", .bar = B::Export,
     .file = "timing.svg", .mediaType = "image/svg+xml", .filter = "filterSvg"},
    {.command = C::SavePng, .name = "cmdSavePng", .bar = B::Export,
     .file = "timing.png", .mediaType = "image/png", .filter = "filterPng"},
    {.command = C::SaveWaveJson, .name = "cmdSaveWaveJson", .bar = B::Export,
     .file = "timing.json", .mediaType = "application/json", .filter = "filterWaveJson"},
    {.command = C::SaveCsv, .name = "cmdSaveCsv", .bar = B::Export,
     .file = "timing.csv", .mediaType = "text/csv", .filter = "filterCsv"},
    {.command = C::CopyCsv, .name = "copyCsv", .bar = B::KeyOnly, .shortcut = "Ctrl+C"},
};

constexpr bool EveryCommandInPlace() {
    for (std::size_t i = 0; i < std::size(kControls); ++i)
        if (static_cast<std::size_t>(kControls[i].command) != i || kControls[i].name.empty()) return false;
    return true;
}
static_assert(std::size(kControls) == kTimingCommandCount && EveryCommandInPlace());

constexpr TimingView::KeyName kKeyNames[] = {
    {"Left", TimingView::Key::Left},   {"Right", TimingView::Key::Right},  {"Home", TimingView::Key::Home},
    {"End", TimingView::Key::End},     {"+", TimingView::Key::ZoomIn},     {"=", TimingView::Key::ZoomIn},
    {"-", TimingView::Key::ZoomOut},
};

}  // namespace

std::string TimingText(std::string_view name) {
    for (const TextEntry& e : kTexts)
        if (e.name == name) return e.text();
    return {};
}

std::vector<std::string_view> TimingTextNames() {
    std::vector<std::string_view> names;
    for (const TextEntry& e : kTexts) names.push_back(e.name);
    return names;
}

std::span<const TimingControl> TimingControls() { return kControls; }

std::span<const TimingView::KeyName> TimingView::KeyNames() { return kKeyNames; }

std::optional<TimingView::Key> TimingView::KeyNamed(std::string_view name) {
    for (const KeyName& k : kKeyNames)
        if (k.name == name) return k.key;
    return std::nullopt;
}

// ---- The view ----

TimingView::TimingView(const Trace& trace) : m_trace(trace), m_height(TimingBaseHeight()), m_clears(trace.Clears()) {}

void TimingView::SetSize(int width, int height) {
    m_width = std::max(width, 1);
    m_height = std::max(height, TimingBaseHeight());
    clampFirst();
}

int TimingView::VisibleSteps() const {
    return std::max(1, (m_width - kNamesWidth - kRightMargin) / m_zoom);
}

int TimingView::LastFirst() const {
    return std::max(0, static_cast<int>(m_trace.size()) - VisibleSteps());
}

void TimingView::clampFirst() {
    if (m_following) m_first = LastFirst();
    m_first = std::clamp(m_first, 0, LastFirst());
}

void TimingView::SetZoom(int pixels) {
    m_zoom = std::clamp(pixels, kMinZoom, kMaxZoom);
    clampFirst();
}

void TimingView::ZoomBy(int steps) {
    for (; steps > 0; --steps) SetZoom(m_zoom * kZoomStep);
    for (; steps < 0; ++steps) SetZoom(m_zoom / kZoomStep);
}

void TimingView::Wheel(int notches, bool zoom) {
    if (notches == 0) return;
    const int forward = notches > 0 ? 1 : -1;
    if (zoom)
        ZoomBy(forward);
    else
        SetFirst(m_first - forward * kWheelSteps);
}

void TimingView::Swipe(int firstAtTouch, int pixels) {
    const int steps = (std::abs(pixels) + kSwipePixels / 2) / kSwipePixels;
    SetFirst(firstAtTouch + (pixels < 0 ? -steps : steps));
}

void TimingView::SetFirst(int index) {
    m_first = std::clamp(index, 0, LastFirst());
    m_following = m_first == LastFirst();
}

void TimingView::TraceChanged() {
    if (m_trace.Clears() != m_clears) {
        // The steps shown are gone (or back): start again at the newest.
        m_clears = m_trace.Clears();
        m_following = true;
        m_selected = -1;
    }
    if (m_selected >= static_cast<int>(m_trace.size())) m_selected = -1;
    clampFirst();
}

void TimingView::Select(int index) {
    m_selected = std::clamp(index, -1, static_cast<int>(m_trace.size()) - 1);
    if (m_selected < 0) return;
    if (m_selected < m_first) SetFirst(m_selected);
    if (m_selected >= m_first + VisibleSteps()) SetFirst(m_selected - VisibleSteps() + 1);
}

int TimingView::StepAt(int x) const {
    if (x < kNamesWidth) return -1;
    const int index = m_first + (x - kNamesWidth) / m_zoom;
    return index < std::min(static_cast<int>(m_trace.size()), m_first + VisibleSteps()) ? index : -1;
}

bool TimingView::Press(Key key) {
    const int last = static_cast<int>(m_trace.size()) - 1;
    switch (key) {
        case Key::ZoomIn: ZoomBy(1); return true;
        case Key::ZoomOut: ZoomBy(-1); return true;
        case Key::Left: if (last >= 0) Select(m_selected < 0 ? last : std::max(0, m_selected - 1)); break;
        case Key::Right: if (last >= 0) Select(m_selected < 0 ? last : std::min(last, m_selected + 1)); break;
        case Key::Home: if (last >= 0) Select(0); break;
        case Key::End: if (last >= 0) Select(last); break;
    }
    return last >= 0;
}

TimingFrame TimingView::Frame() const {
    return {m_first, std::min(VisibleSteps(), static_cast<int>(m_trace.size()) - m_first), m_zoom, m_width,
            m_height, m_selected};
}

TimingFrame TimingView::ExportFrame(bool allSteps) const {
    TimingFrame f = Frame();
    f.selected = -1;
    if (!allSteps) return f;
    const int n = static_cast<int>(m_trace.size());
    f.first = 0;
    f.count = n;
    f.zoom = std::min(m_zoom, std::max(1, (kMaxExportWidth - kNamesWidth - kRightMargin) / std::max(n, 1)));
    f.width = kNamesWidth + n * f.zoom + kRightMargin;
    return f;
}

std::string TimingView::Svg(bool allSteps) const {
    const TimingFrame f = ExportFrame(allSteps);
    return TimingSvg(LayoutTiming(m_trace, f), f.width, f.height);
}

std::string TimingView::WaveJson(bool allSteps) const {
    const TimingFrame f = ExportFrame(allSteps);
    return TimingWaveJson(m_trace, static_cast<std::size_t>(f.first), static_cast<std::size_t>(std::max(f.count, 0)));
}

}  // namespace bitwell
