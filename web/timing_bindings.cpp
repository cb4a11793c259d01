// The timing diagram for the web page: one bitwell::TimingView over the
// page's panel trace, and plain C entry points for what the page forwards
// (its size, the keys, the pointer, the wheel, scrolling) and what it
// builds, draws and saves: the window's description, the view's state and
// the primitives cross as JSON whose fields are named here, once.

#include <emscripten/emscripten.h>

#include <string>
#include <memory>

#include "core/Json.h"
#include "core/Panel.h"
#include "core/Timing.h"

// The page's panel, made again at each session's start (bindings.cpp).
bitwell::Panel& PagePanel();

namespace {

std::unique_ptr<bitwell::TimingView> g_view;
const bitwell::Trace* g_viewTrace = nullptr;
std::string g_text;

// The view of the current session's trace, keeping the size and zoom the
// page gave it.
bitwell::TimingView& View() {
    const bitwell::Trace& trace = PagePanel().trace();
    if (&trace != g_viewTrace) {
        auto view = std::make_unique<bitwell::TimingView>(trace);
        if (g_view) {
            view->SetSize(g_view->Width(), g_view->Height());
            view->SetZoom(g_view->Zoom());
        }
        g_view = std::move(view);
        g_viewTrace = &trace;
    }
    return *g_view;
}

// Writes a JSON object's fields: key(name) and then its value, or a
// whole field (a text or a number) or flag (true or false) at once.
struct Writer {
    std::string& out;
    bool first = true;

    Writer& key(std::string_view name) {
        out += first ? "" : ",";
        first = false;
        string(name);
        out += ':';
        return *this;
    }
    void string(std::string_view text) {
        out += '"';
        bitwell::AppendJsonEscaped(out, text);
        out += '"';
    }
    Writer& field(std::string_view name, std::string_view text) { key(name).string(text); return *this; }
    Writer& field(std::string_view name, int v) { key(name).out += std::to_string(v); return *this; }
    Writer& flag(std::string_view name, bool v) { key(name).out += v ? "true" : "false"; return *this; }
};

std::string_view ShapeName(bitwell::TimingShape shape) {
    switch (shape) {
        case bitwell::TimingShape::Line: return "line";
        case bitwell::TimingShape::Rect: return "rect";
        case bitwell::TimingShape::Polygon: return "polygon";
        case bitwell::TimingShape::Text: break;
    }
    return "text";
}

// {"shape": "line"|"rect"|"polygon"|"text", "role": its name, "x", "y",
// "x2", "y2", and "anchor": "start"|"middle" with "text", or "points"}.
void Primitives(std::string& out, const std::vector<bitwell::TimingPrimitive>& all) {
    out += '[';
    for (const bitwell::TimingPrimitive& p : all) {
        if (&p != all.data()) out += ',';
        out += '{';
        Writer w{out};
        w.field("shape", ShapeName(p.shape)).field("role", bitwell::StyleOf(p.role).name);
        w.field("x", p.x).field("y", p.y).field("x2", p.x2).field("y2", p.y2);
        if (p.shape == bitwell::TimingShape::Text) {
            const std::string_view anchor = p.anchor == bitwell::TextAnchor::Middle ? "middle" : "start";
            w.field("anchor", anchor).field("text", p.text);
        } else if (p.shape == bitwell::TimingShape::Polygon) {
            w.key("points");
            out += '[';
            for (std::size_t k = 0; k < p.points.size(); ++k) (out += k ? "," : "") += std::to_string(p.points[k]);
            out += ']';
        }
        out += '}';
    }
    out += ']';
}

std::string_view BarName(bitwell::TimingBar bar) {
    switch (bar) {
        case bitwell::TimingBar::View: return "view";
        case bitwell::TimingBar::Export: return "export";
        case bitwell::TimingBar::KeyOnly: break;
    }
    return "keyOnly";
}

}  // namespace

extern "C" {

// The window as the core describes it, in the current language:
// {"font": the family, "roles": {name: {"stroke", "fill", "opacity",
// "width", "dash", "fontPixels"}}, "keys": {key name: code for
// bw_timing_key}, "controls": [{"name", "bar": "view"|"export"|"keyOnly",
// "checkBox", "roomAfter", "backToDiagram", "shortcut", "file", "mediaType"}], "columns":
// [the step table's header texts, in the current language], "texts": {name: text, with '&' before a
// control's mnemonic}}.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_description() {
    g_text = "{";
    Writer w{g_text};
    w.field("font", bitwell::kTimingFontFamily).key("roles");
    g_text += '{';
    Writer roles{g_text};
    for (const bitwell::RoleStyle& r : bitwell::RoleStyles()) {
        roles.key(r.name);
        g_text += '{';
        Writer style{g_text};
        style.field("stroke", r.stroke).field("fill", r.fill).key("opacity");
        g_text += bitwell::OpacityText(r.opacity);
        style.field("width", r.width).field("dash", r.dash).field("fontPixels", r.fontPixels);
        g_text += '}';
    }
    g_text += '}';
    w.key("keys");
    g_text += '{';
    Writer keys{g_text};
    for (const bitwell::TimingView::KeyName& k : bitwell::TimingView::KeyNames())
        keys.field(k.name, static_cast<int>(k.key));
    g_text += '}';
    w.key("controls");
    g_text += '[';
    for (const bitwell::TimingControl& c : bitwell::TimingControls()) {
        g_text += g_text.back() == '[' ? "{" : ",{";
        Writer control{g_text};
        control.field("name", c.name).field("bar", BarName(c.bar));
        control.flag("checkBox", c.checkBox).flag("roomAfter", c.roomAfter).flag("backToDiagram", c.backToDiagram);
        control.field("shortcut", c.shortcut);
        control.field("file", c.file).field("mediaType", c.mediaType);
        g_text += '}';
    }
    g_text += ']';
    w.key("columns");
    g_text += '[';
    for (const bitwell::TraceColumn& c : bitwell::TraceColumns()) {
        if (g_text.back() != '[') g_text += ',';
        w.string(bitwell::TraceColumnHeader(c));
    }
    g_text += ']';
    w.key("texts");
    g_text += '{';
    Writer texts{g_text};
    for (const std::string_view name : bitwell::TimingTextNames()) texts.field(name, bitwell::TimingText(name));
    g_text += "}}";
    return g_text.c_str();
}

EMSCRIPTEN_KEEPALIVE void bw_timing_size(int width, int height) { View().SetSize(width, height); }
EMSCRIPTEN_KEEPALIVE void bw_timing_changed() { View().TraceChanged(); }
EMSCRIPTEN_KEEPALIVE void bw_timing_first(int index) { View().SetFirst(index); }
EMSCRIPTEN_KEEPALIVE void bw_timing_select(int index) { View().Select(index); }
// Zoom steps in (out when negative), as the zoom buttons do.
EMSCRIPTEN_KEEPALIVE void bw_timing_zoom_by(int steps) { View().ZoomBy(steps); }
// One notch of a wheel (bitwell::TimingView::Wheel); `zoom` nonzero zooms.
EMSCRIPTEN_KEEPALIVE void bw_timing_wheel(int notches, int zoom) { View().Wheel(notches, zoom != 0); }
// A finger swiped (bitwell::TimingView::Swipe).
EMSCRIPTEN_KEEPALIVE void bw_timing_swipe(int firstAtTouch, int pixels) { View().Swipe(firstAtTouch, pixels); }
// The step under x, or -1.
EMSCRIPTEN_KEEPALIVE int bw_timing_at(int x) { return View().StepAt(x); }
// A key by its code from the description's "keys"; 0 when it means nothing
// here.
EMSCRIPTEN_KEEPALIVE int bw_timing_key(int key) {
    return View().Press(static_cast<bitwell::TimingView::Key>(key)) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void bw_undo_clear_trace() { PagePanel().UndoClearTrace(); }

// Texts for the page, valid until the next call of any of these.

// {"first", "lastFirst", "visible", "selected", "zoom", "width", "height",
// "canUndo"}.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_state() {
    const bitwell::TimingView& v = View();
    g_text = "{";
    Writer w{g_text};
    w.field("first", v.First()).field("lastFirst", v.LastFirst()).field("visible", v.VisibleSteps());
    w.field("selected", v.Selected()).field("zoom", v.Zoom()).field("width", v.Width()).field("height", v.Height());
    w.flag("canUndo", PagePanel().trace().CanUndoClear());
    g_text += '}';
    return g_text.c_str();
}
// The view's primitives.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_draw() {
    g_text.clear();
    Primitives(g_text, View().Draw());
    return g_text.c_str();
}
// The export: {"width", "height", "primitives"}.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_draw_export(int all) {
    const bitwell::TimingFrame f = View().ExportFrame(all != 0);
    g_text = "{";
    Writer w{g_text};
    w.field("width", f.width).field("height", f.height).key("primitives");
    Primitives(g_text, bitwell::LayoutTiming(PagePanel().trace(), f));
    g_text += '}';
    return g_text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* bw_timing_svg(int all) {
    g_text = View().Svg(all != 0);
    return g_text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* bw_timing_wavejson(int all) {
    g_text = View().WaveJson(all != 0);
    return g_text.c_str();
}
// Step i's row for the step table: its description, then its fields in the
// description's columns, separated by newlines.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_row(int i) {
    const bitwell::TraceStep& s = PagePanel().trace()[static_cast<std::size_t>(i)];
    g_text = bitwell::Trace::Describe(s);
    for (const bitwell::TraceColumn& c : bitwell::TraceColumns()) (g_text += '\n') += c.field(s);
    return g_text.c_str();
}

}  // extern "C"
