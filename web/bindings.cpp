// The panel's rules for the web page: one bitwell::Panel whose changes are
// handed to the page's script as they happen, and plain C entry points for
// what the student does. The page draws; nothing here knows the DOM.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/Conversions.h"
#include "core/Attempt.h"
#include "core/CourseExport.h"
#include "core/Snapshot.h"
#include "core/Exercise.h"
#include "core/Panel.h"
#include "core/Trace.h"
#include "core/WindowDescription.h"
#include "web/codes.h"

using bitwell::Control;
namespace code = bitwell::page;

// The shared codes are the core's own values.
static_assert(code::LevelCE == static_cast<int>(Control::CE) && code::LevelOE == static_cast<int>(Control::OE) &&
              code::LevelWE == static_cast<int>(Control::WE) && code::LevelLB == static_cast<int>(Control::LB) &&
              code::LevelUB == static_cast<int>(Control::UB));
static_assert(code::EntryNothing == static_cast<int>(bitwell::TypedEntry::Kind::Nothing) &&
              code::EntryWord == static_cast<int>(bitwell::TypedEntry::Kind::Word) &&
              code::EntryInvalid == static_cast<int>(bitwell::TypedEntry::Kind::Invalid));

// What the page is told, in the order the panel tells it, with the codes of
// web/codes.h. Texts are ASCII (hex digits, listings), as pointer and length.
EM_JS(void, bw_js_level, (int control, int value), { Module.view.level(control, value); });
EM_JS(void, bw_js_address_bit, (int bit, int value), { Module.view.addressBit(bit, value); });
EM_JS(void, bw_js_data_bit, (int bit, int value), { Module.view.dataBit(bit, value); });
EM_JS(void, bw_js_text, (int which, const char* text, int length),
      { Module.view.text(which, UTF8ToString(text, length)); });
EM_JS(void, bw_js_lamp, (int bit, int lit), { Module.view.lamp(bit, lit !== 0); });
EM_JS(void, bw_js_order, (int big), { Module.view.order(big !== 0); });
EM_JS(void, bw_js_step, (), { Module.view.step(); });
EM_JS(void, bw_js_cleared, (), { Module.view.cleared(); });
// The exercise: Changed (opened, restarted or closed), GoalsChecked, Done,
// Undone (a goal of a done exercise just broke).
EM_JS(void, bw_js_exercise, (int what), { Module.view.exercise(what); });
// What an action from outside did, in words (UTF-8, zero-terminated).
EM_JS(void, bw_js_action_ended, (const char* sentence), { Module.view.actionEnded(UTF8ToString(sentence)); });

namespace {

void SendText(int which, const std::string& text) {
    bw_js_text(which, text.data(), static_cast<int>(text.size()));
}

class PageView final : public bitwell::PanelView {
public:
    // The page's elements notify no one: the panel carries on each cascade.
    void levelChanged(Control c, int value, bitwell::Cascade&) override {
        bw_js_level(static_cast<int>(c), value);
    }
    void addressBitChanged(int bit, int value, bitwell::Cascade&) override {
        bw_js_address_bit(bit, value);
    }
    void dataBitChanged(int bit, int value, bitwell::Cascade&) override { bw_js_data_bit(bit, value); }
    void addressTextChanged(const std::string& t) override { SendText(code::TextAddress, t); }
    void dataTextChanged(const std::string& t, bitwell::Cascade&) override { SendText(code::TextData, t); }
    void readTextChanged(const std::string& t, bitwell::Cascade&) override { SendText(code::TextRead, t); }
    void lampChanged(int bit, bool lit) override { bw_js_lamp(bit, lit ? 1 : 0); }
    void contentsChanged(const std::string& t) override { SendText(code::TextContents, t); }
    void typesChanged(const std::string& t) override { SendText(code::TextTypes, t); }
    void orderChanged(bool big) override { bw_js_order(big ? 1 : 0); }
    void stepRecorded(const bitwell::TraceStep& step) override {
        record.Step(step);
        bw_js_step();
    }
    void traceCleared() override { bw_js_cleared(); }
    void actionEnded(const bitwell::TraceStep& last) override;

    // The open exercise's actions, for Save Attempt.
    bitwell::AttemptRecord record;
};

class PageExercise final : public bitwell::ExerciseSession::Listener {
public:
    void exerciseChanged() override { bw_js_exercise(code::ExerciseChanged); }
    void goalsChecked() override { bw_js_exercise(code::ExerciseGoalsChecked); }
    void exerciseDone() override { bw_js_exercise(code::ExerciseDone); }
    void exerciseUndone() override { bw_js_exercise(code::ExerciseUndone); }
};

PageView g_view;
PageExercise g_exerciseListener;
std::unique_ptr<bitwell::Panel> g_panel;
// On the panel, made anew with it; the bytes of the open exercise, for its link.
std::unique_ptr<bitwell::ExerciseSession> g_session;
std::string g_exerciseBytes;
std::vector<bitwell::TypedCharacter> g_answer;
std::u16string g_entryText;
std::string g_out;

bitwell::Panel& P() { return *g_panel; }

void PageView::actionEnded(const bitwell::TraceStep& last) {
    record.ActionEnded(*g_panel);
    bw_js_action_ended(bitwell::Trace::DescribeCycle(last).c_str());
}

// The open exercise started afresh, its givens not recorded as the student's.
void RestartExercise() {
    g_view.record.Starting();
    g_session->Restart();
    g_view.record.Restarted();
}

}  // namespace

// For the timing diagram's entry points (timing_bindings.cpp).
bitwell::Panel& PagePanel() { return *g_panel; }

extern "C" {

// A panel in its design-time state, then powered up: the page hears every
// change on the way. Also starts a session again after File, Exit.
EMSCRIPTEN_KEEPALIVE void bw_power_up() {
    g_session.reset();
    g_exerciseBytes.clear();
    g_panel = std::make_unique<bitwell::Panel>(&g_view);
    g_session = std::make_unique<bitwell::ExerciseSession>(*g_panel, &g_exerciseListener);
    g_panel->Form_Load();
}

// File, Restart: 1 when powering up afresh loses nothing.
EMSCRIPTEN_KEEPALIVE int bw_memory_at_power_on() { return g_session->MemoryChanged() ? 0 : 1; }
// Powers the chip up afresh, or restarts the open exercise.
EMSCRIPTEN_KEEPALIVE void bw_restart() {
    if (g_session->isOpen())
        RestartExercise();
    else
        P().PowerUpAfresh();
}

// Opens an exercise from `source` (web/codes.h): File, `length` bytes of a
// file named `name`; Link, the text of a link (zero-terminated); Builtin,
// the course's exercise number `length`. 1 when open; 0 and
// bw_exercise_error() holds every problem, one a line: "LINE: message",
// "message" alone for line 0 and for a link; nothing changed.
EMSCRIPTEN_KEEPALIVE int bw_exercise_open(int source, const char* bytes, int length, const char* name) {
    std::string file;
    std::string label = name;
    bitwell::ExerciseError error;
    std::vector<bitwell::ExerciseError> problems;
    bool ok = true;
    if (source == code::SourceLink) {
        ok = bitwell::DecodeExerciseLink(bytes, file, error);
        label.clear();
    } else if (source == code::SourceBuiltin) {
        const auto& course = bitwell::BuiltinExercises();
        const std::size_t i = static_cast<std::size_t>(length);
        if (length < 0 || i >= course.size()) return 0;
        file = course[i].bytes;
        label = course[i].name;
    } else {
        file.assign(bytes, static_cast<std::size_t>(length < 0 ? 0 : length));
    }
    if (!ok) problems.push_back(error);
    // As ExerciseSession::Open does, with the givens left out of the attempt.
    bitwell::Exercise parsed;
    if (ok) ok = bitwell::CheckExercise(file, label, parsed, problems);
    if (!ok) {
        g_out = bitwell::ProblemsText(problems, source == code::SourceLink);
        return 0;
    }
    g_view.record.Starting();
    g_session->Start(parsed);
    g_view.record.Open(file);
    g_exerciseBytes = std::move(file);
    return 1;
}
EMSCRIPTEN_KEEPALIVE const char* bw_exercise_error() { return g_out.c_str(); }
EMSCRIPTEN_KEEPALIVE void bw_exercise_restart() { RestartExercise(); }
EMSCRIPTEN_KEEPALIVE void bw_exercise_close() {
    g_view.record.Starting();
    g_session->Close();
    g_exerciseBytes.clear();
}
EMSCRIPTEN_KEEPALIVE void bw_exercise_hint() { g_session->NextHint(); }

// The open exercise as JSON, in the current language: {"open", "title",
// "text", "goals": [{"text", "holds", "line", "says" (as said once it holds)}], "hints": [...], "more", "done",
// "result"}.
EMSCRIPTEN_KEEPALIVE const char* bw_exercise_state() {
    using bitwell::JsonString;
    const bool open = g_session && g_session->isOpen();
    g_out = "{\"open\":";
    g_out += open ? "true" : "false";
    if (open) {
        const bitwell::ExerciseSession& s = *g_session;
        g_out += ",\"title\":" + JsonString(s.exercise().Title());
        g_out += ",\"text\":" + JsonString(s.exercise().Text());
        g_out += ",\"goals\":[";
        bool first = true;
        for (const auto& goal : s.Goals()) {
            if (!first) g_out += ',';
            first = false;
            g_out += "{\"text\":" + JsonString(goal.text) + ",\"holds\":" + (goal.holds ? "true" : "false") +
                     ",\"line\":" + std::to_string(goal.line) + ",\"says\":" + JsonString(goal.holdsText) + "}";
        }
        g_out += "],\"hints\":[";
        first = true;
        for (const std::string& hint : s.ShownHints()) {
            if (!first) g_out += ',';
            first = false;
            g_out += JsonString(hint);
        }
        g_out += "],\"more\":";
        g_out += s.HasMoreHints() ? "true" : "false";
        g_out += ",\"done\":";
        g_out += s.done() ? "true" : "false";
        g_out += ",\"actions\":" + std::to_string(s.actions());
        g_out += ",\"result\":" + JsonString(s.DoneText());
    }
    g_out += '}';
    return g_out.c_str();
}
// The open exercise's bytes in base64url, for "#exercise=" + this; "" without one.
EMSCRIPTEN_KEEPALIVE const char* bw_exercise_link() {
    g_out = g_session && g_session->isOpen() ? bitwell::EncodeExerciseLink(g_exerciseBytes) : std::string();
    return g_out.c_str();
}
// The open exercise for a course site, kind 0 a web page, 1 a SCORM 1.2 and
// 2 a SCORM 2004 package, made from the page's plain bytes (`length` of
// them at `page`) exactly as the desktop makes it: bw_export_size() bytes
// at the address returned, none without an open exercise.
EMSCRIPTEN_KEEPALIVE const char* bw_export(int kind, const char* page, int length) {
    static_assert(static_cast<int>(bitwell::ExportKind::WebPage) == code::ExportWebPage &&
                  static_cast<int>(bitwell::ExportKind::Scorm12) == code::ExportScorm12 &&
                  static_cast<int>(bitwell::ExportKind::Scorm2004) == code::ExportScorm2004);
    g_out = g_session->isOpen() && kind >= code::ExportWebPage && kind <= code::ExportScorm2004
                ? bitwell::ExportExercise(std::string_view(page, static_cast<std::size_t>(length)),
                                          g_exerciseBytes, g_session->exercise(),
                                          static_cast<bitwell::ExportKind>(kind))
                : std::string();
    return g_out.data();
}
EMSCRIPTEN_KEEPALIVE int bw_export_size() { return static_cast<int>(g_out.size()); }
// The open exercise's resume snapshot (core/Snapshot.h); "" without one.
EMSCRIPTEN_KEEPALIVE const char* bw_snapshot() {
    g_out = bitwell::WriteSnapshot(*g_session, g_exerciseBytes);
    return g_out.c_str();
}
// Resumes the open exercise from `snapshot`: 1 when it fitted, 0 when the
// exercise started afresh instead.
EMSCRIPTEN_KEEPALIVE int bw_resume(const char* snapshot) {
    // The actions before it are not in the snapshot: the attempt starts here.
    g_view.record.Starting();
    const bool fitted = bitwell::ResumeSnapshot(*g_session, g_exerciseBytes, snapshot);
    if (!fitted) g_view.record.Open(g_exerciseBytes);
    return fitted ? 1 : 0;
}
// The attempt file of the open exercise's actions for `learner` (UTF-8):
// bw_export_size() bytes at the address returned; none without one.
EMSCRIPTEN_KEEPALIVE const char* bw_attempt(const char* learner) {
    g_out = g_session->isOpen() ? g_view.record.Write(learner) : std::string();
    return g_out.data();
}

EMSCRIPTEN_KEEPALIVE void bw_move_level(int control, int value) {
    P().MoveLevel(static_cast<Control>(control % 5), value);
}
EMSCRIPTEN_KEEPALIVE void bw_move_address_bit(int bit, int value) { P().MoveAddressBit(bit, value); }
EMSCRIPTEN_KEEPALIVE void bw_move_data_bit(int bit, int value) { P().MoveDataBit(bit, value); }
EMSCRIPTEN_KEEPALIVE void bw_choose_order(int big) { P().ChooseOrder(big != 0); }
EMSCRIPTEN_KEEPALIVE void bw_copy_read() { P().CopyReadToData(); }
EMSCRIPTEN_KEEPALIVE void bw_clear_trace() { P().ClearTrace(); }

// A typed answer, one user-perceived character at a time (UTF-16), then
// bw_enter_end(): the Entry code (web/codes.h): Nothing, Word (now the data
// word) or Invalid, whose message bw_entry_text() holds, ending in a zero.
EMSCRIPTEN_KEEPALIVE void bw_enter_begin() { g_answer.clear(); }
EMSCRIPTEN_KEEPALIVE void bw_enter_char(const char16_t* text, int length) {
    if (length > 0) g_answer.push_back({std::u16string(text, static_cast<std::size_t>(length))});
}
EMSCRIPTEN_KEEPALIVE int bw_enter_end() {
    const bitwell::TypedEntry entry = P().EnterTypedWord(g_answer);
    g_entryText = entry.text;
    return static_cast<int>(entry.kind);
}
EMSCRIPTEN_KEEPALIVE const char16_t* bw_entry_text() { return g_entryText.c_str(); }

EMSCRIPTEN_KEEPALIVE int bw_update_memory_runs() {
    return static_cast<int>(P().device().updateMemoryRuns());
}

EMSCRIPTEN_KEEPALIVE int bw_trace_size() { return static_cast<int>(P().trace().size()); }

// Texts for the page, valid until the next call of any of these.
EMSCRIPTEN_KEEPALIVE const char* bw_trace_csv() {
    g_out = P().trace().Csv();
    return g_out.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* bw_describe(int i) {
    g_out = bitwell::Trace::Describe(P().trace()[static_cast<std::size_t>(i)]);
    return g_out.c_str();
}

// The window's description in the current language, as JSON (see
// DescriptionJson); valid until the next call of a text function.
EMSCRIPTEN_KEEPALIVE const char* bw_description() {
    g_out = bitwell::DescriptionJson(BITWELL_VERSION);
    return g_out.c_str();
}

// What the page's style sheet is made from at build time, as JSON: the
// window's client area in pixels and each face's font in pixels (96 dpi).
EMSCRIPTEN_KEEPALIVE const char* bw_geometry() {
    using bitwell::Face;
    const auto px = [](double points) { return std::to_string(points * 96 / 72); };
    const bitwell::WindowSpec& w = bitwell::MainWindow();
    g_out = "{\"width\":" + std::to_string(w.width / 15) + ",\"height\":" + std::to_string(w.height / 15) +
            ",\"fonts\":{\"dialog\":" + px(bitwell::FacePoints(Face::Dialog)) +
            ",\"listing12\":" + px(bitwell::FacePoints(Face::Listing12)) +
            ",\"listing8\":" + px(bitwell::FacePoints(Face::Listing8)) +
            ",\"listing14\":" + px(bitwell::FacePoints(Face::Listing14)) + "}}";
    return g_out.c_str();
}

// The code we have that best fits the browser's languages, given one tag a
// line ("de-AT\nen").
EMSCRIPTEN_KEEPALIVE const char* bw_pick_language(const char* tags) {
    std::vector<std::string> list;
    std::string tag;
    for (const char* c = tags; *c; ++c) {
        if (*c == '\n') {
            list.push_back(tag);
            tag.clear();
        } else {
            tag += *c;
        }
    }
    list.push_back(tag);
    g_out = bitwell::PickLanguage(list);
    return g_out.c_str();
}

// 1 and the panel's listing in the new language, or 0 and no change for a
// code we lack.
EMSCRIPTEN_KEEPALIVE int bw_set_language(const char* code) {
    if (!bitwell::SetLanguage(code)) return 0;
    if (g_panel) g_panel->Retranslate();
    return 1;
}

}  // extern "C"
