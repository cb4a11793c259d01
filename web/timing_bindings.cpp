// The timing diagram for the web page: one bitwell::TimingView over the
// page's panel trace, and plain C entry points for what the page forwards
// (its size, the keys, the pointer, scrolling) and what it draws (the
// primitives as JSON) and saves (SVG, WaveJSON). The page holds no layout.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/Panel.h"
#include "core/Timing.h"

// The page's panel, made again at each session's start (bindings.cpp).
bitwell::Panel& PagePanel();

namespace {

std::unique_ptr<bitwell::TimingView> g_view;
const bitwell::Trace* g_viewTrace = nullptr;
std::string g_text;
std::int32_t g_state[8];

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

void Quote(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
}

// [shape, role, x, y, x2, y2, anchor, text or points] per primitive.
const char* Json(const std::vector<bitwell::TimingPrimitive>& all) {
    g_text = "[";
    for (const bitwell::TimingPrimitive& p : all) {
        if (g_text.size() > 1) g_text += ',';
        g_text += '[';
        for (const int v : {static_cast<int>(p.shape), static_cast<int>(p.role), p.x, p.y, p.x2, p.y2,
                            static_cast<int>(p.anchor)}) {
            g_text += std::to_string(v);
            g_text += ',';
        }
        if (p.shape == bitwell::TimingShape::Polygon) {
            g_text += '[';
            for (std::size_t k = 0; k < p.points.size(); ++k) {
                if (k) g_text += ',';
                g_text += std::to_string(p.points[k]);
            }
            g_text += ']';
        } else {
            Quote(g_text, p.text);
        }
        g_text += ']';
    }
    g_text += ']';
    return g_text.c_str();
}

}  // namespace

extern "C" {

// One of the panel's texts by its name (bitwell::TimingText), in the
// current language, with the desktop's mnemonic marks.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_text(const char* name) {
    g_text = bitwell::TimingText(name);
    return g_text.c_str();
}

EMSCRIPTEN_KEEPALIVE void bw_timing_size(int width, int height) { View().SetSize(width, height); }
EMSCRIPTEN_KEEPALIVE void bw_timing_changed() { View().TraceChanged(); }
EMSCRIPTEN_KEEPALIVE void bw_timing_zoom(int pixels) { View().SetZoom(pixels); }
EMSCRIPTEN_KEEPALIVE void bw_timing_first(int index) { View().SetFirst(index); }
EMSCRIPTEN_KEEPALIVE void bw_timing_select(int index) { View().Select(index); }
// The step under x, or -1.
EMSCRIPTEN_KEEPALIVE int bw_timing_at(int x) { return View().StepAt(x); }
// Left, Right, Home, End, zoom in, zoom out (0 … 5); 0 when it means nothing.
EMSCRIPTEN_KEEPALIVE int bw_timing_key(int key) {
    return View().Press(static_cast<bitwell::TimingView::Key>(key)) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void bw_undo_clear_trace() { PagePanel().UndoClearTrace(); }

// first, last first, visible steps, selected, zoom, width, height, and 1
// when Undo Clear can bring steps back.
EMSCRIPTEN_KEEPALIVE const std::int32_t* bw_timing_state() {
    const bitwell::TimingView& v = View();
    const std::int32_t state[] = {v.First(), v.LastFirst(), v.VisibleSteps(), v.Selected(), v.Zoom(),
                                  v.Width(),  v.Height(),    PagePanel().trace().CanUndoClear() ? 1 : 0};
    std::copy(std::begin(state), std::end(state), g_state);
    return g_state;
}

// Texts for the page, valid until the next call of any of these.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_draw() { return Json(View().Draw()); }
// The export's primitives; its size is the last two of bw_timing_export_size.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_draw_export(int all) {
    const bitwell::TimingFrame f = View().ExportFrame(all != 0);
    g_state[0] = f.width;
    g_state[1] = f.height;
    return Json(bitwell::LayoutTiming(PagePanel().trace(), f));
}
EMSCRIPTEN_KEEPALIVE const std::int32_t* bw_timing_export_size() { return g_state; }
EMSCRIPTEN_KEEPALIVE const char* bw_timing_svg(int all) {
    g_text = View().Svg(all != 0);
    return g_text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* bw_timing_wavejson(int all) {
    g_text = View().WaveJson(all != 0);
    return g_text.c_str();
}
// Each role's colour, opacity, and 1 when outlined, 1 when dashed:
// [["#rrggbb", 1, 0, 0], …] in the roles' order.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_roles() {
    g_text = "[";
    for (int r = 0; r <= static_cast<int>(bitwell::TimingRole::Selection); ++r) {
        const auto role = static_cast<bitwell::TimingRole>(r);
        if (r) g_text += ',';
        g_text += "[\"" + std::string(bitwell::RoleColour(role)) + "\"," +
                  std::to_string(bitwell::RoleOpacity(role)) + "," + (bitwell::RoleOutlined(role) ? "1" : "0") + "," +
                  (bitwell::RoleDashed(role) ? "1" : "0") + "]";
    }
    g_text += ']';
    return g_text.c_str();
}
// Step i's row for the step table: its description, then its CSV line
// (without the line end), separated by a newline.
EMSCRIPTEN_KEEPALIVE const char* bw_timing_row(int i) {
    const bitwell::TraceStep& s = PagePanel().trace()[static_cast<std::size_t>(i)];
    g_text = bitwell::Trace::Describe(s) + "\n" + bitwell::Trace::CsvLine(s);
    g_text.pop_back();
    return g_text.c_str();
}

}  // extern "C"
