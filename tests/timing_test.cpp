#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/Panel.h"
#include "core/Timing.h"
#include "core/TimingPlacement.h"
#include "core/TimingSave.h"

namespace bitwell {
namespace {

template <class T>
    requires requires(const T& row) { row.tag; }
void PrintTo(const T& row, std::ostream* os) { *os << row.tag; }

// Power-up, then a write cycle held at address 5 with 12AB while the address
// is walked back to 0: the first write's address, the data word and a read
// value all change on the way.
void WriteOnTheWay(Panel& panel) {
    panel.Form_Load();
    panel.MoveAddressBit(0, 1);
    panel.MoveAddressBit(2, 1);
    panel.EditDataText("12AB");
    for (const Control c : {Control::UB, Control::LB, Control::WE, Control::CE}) panel.MoveLevel(c, 0);
    panel.MoveAddressBit(0, 0);
    panel.MoveAddressBit(2, 0);
    // Read it back: WE HIGH, OE LOW.
    panel.MoveLevel(Control::WE, 1);
    panel.MoveLevel(Control::OE, 0);
}

std::vector<const TimingPrimitive*> OfRole(const std::vector<TimingPrimitive>& all, TimingRole role) {
    std::vector<const TimingPrimitive*> out;
    for (const TimingPrimitive& p : all)
        if (p.role == role) out.push_back(&p);
    return out;
}

// ---- Step descriptions ----

struct DescribeCase {
    const char* tag;
    Cause cause;
    int levels[5];
    const char* address;
    const char* data;
    Cycle cycle;
    Bytes bytes;
    const char* full;
    const char* cycleOnly;
};

class Describe : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(Describe, SaysWhatTheStepDidAndWhichWayItsCauseMoved) {
    const DescribeCase& c = GetParam();
    TraceStep s;
    s.step = 17;
    s.action = 9;
    s.cause = c.cause;
    std::copy(std::begin(c.levels), std::end(c.levels), s.levels);
    s.address = c.address;
    s.data = c.data;
    s.read = "BEEF";
    s.word = "12AB";
    s.cycle = c.cycle;
    s.bytes = c.bytes;
    EXPECT_EQ(Trace::Describe(s), c.full);
    EXPECT_EQ(Trace::DescribeCycle(s), c.cycleOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Trace, Describe,
    ::testing::Values(
        DescribeCase{"dataBitUp", Cause::D3, {0, 1, 0, 0, 0}, "5", "12AB", Cycle::Write, Bytes::Both,
                     "Step 17, action 9: write 12AB to address 5, both bytes (D3 changed to 1)",
                     "write 12AB to address 5, both bytes"},
        DescribeCase{"dataBitDown", Cause::D2, {0, 1, 0, 0, 0}, "5", "12AB", Cycle::Write, Bytes::Upper,
                     "Step 17, action 9: write 12AB to address 5, upper byte (D2 changed to 0)",
                     "write 12AB to address 5, upper byte"},
        DescribeCase{"topDataBit", Cause::D15, {0, 1, 0, 0, 0}, "5", "8000", Cycle::Write, Bytes::Lower,
                     "Step 17, action 9: write 12AB to address 5, lower byte (D15 changed to 1)",
                     "write 12AB to address 5, lower byte"},
        DescribeCase{"controlLow", Cause::OE, {0, 0, 1, 0, 0}, "5", "0000", Cycle::Read, Bytes::Both,
                     "Step 17, action 9: read BEEF from address 5, both bytes (OE changed to LOW)",
                     "read BEEF from address 5, both bytes"},
        DescribeCase{"controlHigh", Cause::UB, {0, 0, 1, 0, 1}, "5", "0000", Cycle::Read, Bytes::Lower,
                     "Step 17, action 9: read BEEF from address 5, lower byte (UB changed to HIGH)",
                     "read BEEF from address 5, lower byte"},
        DescribeCase{"addressBit", Cause::A2, {1, 1, 1, 0, 0}, "4", "0000", Cycle::None, Bytes::None,
                     "Step 17, action 9: no cycle (A2 changed to 1)", "no cycle"},
        DescribeCase{"addressBitDown", Cause::A3, {1, 1, 1, 0, 0}, "7", "0000", Cycle::None, Bytes::None,
                     "Step 17, action 9: no cycle (A3 changed to 0)", "no cycle"},
        DescribeCase{"order", Cause::Order, {1, 1, 1, 0, 0}, "0", "0000", Cycle::Read, Bytes::Upper,
                     "Step 17, action 9: read BEEF from address 0, upper byte (word order chosen)",
                     "read BEEF from address 0, upper byte"}),
    [](const auto& info) { return std::string(info.param.tag); });

// ---- Undo Clear ----

TEST(Trace, UndoClearBringsTheStepsBackUntilTheNextStep) {
    Panel panel;
    panel.Form_Load();
    const std::string csv = panel.trace().Csv();
    EXPECT_FALSE(panel.trace().CanUndoClear());
    panel.ClearTrace();
    EXPECT_TRUE(panel.trace().CanUndoClear());
    panel.UndoClearTrace();
    EXPECT_EQ(panel.trace().Csv(), csv);
    EXPECT_FALSE(panel.trace().CanUndoClear());

    panel.ClearTrace();
    panel.MoveLevel(Control::CE, 0);
    EXPECT_FALSE(panel.trace().CanUndoClear());
    panel.UndoClearTrace();  // nothing to bring back: the new step stays alone
    ASSERT_EQ(panel.trace().size(), 1u);
    EXPECT_EQ(panel.trace()[0].step, 6u);

    // An empty trace cleared again keeps nothing to undo.
    panel.ClearTrace();
    panel.ClearTrace();
    panel.UndoClearTrace();
    EXPECT_EQ(panel.trace().size(), 1u);
}

// ---- The view ----

struct ZoomCase {
    const char* tag;
    std::vector<TimingView::Key> keys;
    int set;  // SetZoom first, unless 0
    int zoom;
};

class Zoom : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(Zoom, StaysWithinItsLimits) {
    Panel panel;
    panel.Form_Load();
    TimingView view(panel.trace());
    if (GetParam().set) view.SetZoom(GetParam().set);
    for (const TimingView::Key k : GetParam().keys) EXPECT_TRUE(view.Press(k));
    EXPECT_EQ(view.Zoom(), GetParam().zoom);
}

using K = TimingView::Key;
INSTANTIATE_TEST_SUITE_P(
    TimingView, Zoom,
    ::testing::Values(ZoomCase{"default", {}, 0, 36}, ZoomCase{"inOnce", {K::ZoomIn}, 0, 72},
                      ZoomCase{"inToTheTop", {K::ZoomIn, K::ZoomIn, K::ZoomIn}, 0, 96},
                      ZoomCase{"outToTheBottom", {K::ZoomOut, K::ZoomOut, K::ZoomOut, K::ZoomOut}, 0, 4},
                      ZoomCase{"setTooSmall", {}, 1, 4}, ZoomCase{"setTooLarge", {}, 500, 96},
                      ZoomCase{"outThenIn", {K::ZoomOut, K::ZoomIn}, 0, 36}),
    [](const auto& info) { return std::string(info.param.tag); });

// A trace of `steps` evaluations after power-up's five.
void Steps(Panel& panel, int steps) {
    for (int i = 0; i < steps; ++i) panel.ChooseOrder(i % 2 == 0);
}

struct MoveCase {
    const char* tag;
    int notches;  // a wheel's, unless swipe
    bool zoom;
    int swipe;    // pixels to the left, unless 0
    int first, zoomAfter;
};

class Move : public ::testing::TestWithParam<MoveCase> {};

// From step 50 of 105: the front ends forward only a direction or pixels.
TEST_P(Move, WheelAndSwipeGoTheRightWay) {
    Panel panel;
    panel.Form_Load();
    Steps(panel, 100);
    TimingView view(panel.trace());
    view.SetFirst(50);
    if (GetParam().swipe) view.Swipe(50, GetParam().swipe);
    else view.Wheel(GetParam().notches, GetParam().zoom);
    EXPECT_EQ(view.First(), GetParam().first);
    EXPECT_EQ(view.Zoom(), GetParam().zoomAfter);
}

INSTANTIATE_TEST_SUITE_P(TimingView, Move,
                         ::testing::Values(MoveCase{"wheelForwardGoesBack", 120, false, 0, 46, 36},
                                           MoveCase{"wheelBackGoesOn", -120, false, 0, 54, 36},
                                           MoveCase{"wheelForwardZoomsIn", 120, true, 0, 50, 72},
                                           MoveCase{"wheelBackZoomsOut", -1, true, 0, 50, 18},
                                           MoveCase{"swipeLeftBringsLaterSteps", 0, false, 30, 55, 36},
                                           MoveCase{"swipeRightBringsEarlierOnes", 0, false, -32, 45, 36}),
                         [](const auto& info) { return std::string(info.param.tag); });

TEST(TimingView, FollowsTheNewestStepUnlessScrolledBackAndAgainAfterClear) {
    Panel panel;
    panel.Form_Load();
    TimingView view(panel.trace());
    view.SetSize(720, TimingBaseHeight());
    const int visible = view.VisibleSteps();
    EXPECT_EQ(visible, (720 - kNamesWidth - kRightMargin) / 36);
    Steps(panel, 100);
    view.TraceChanged();
    EXPECT_TRUE(view.Following());
    EXPECT_EQ(view.First(), 105 - visible);

    view.SetFirst(10);
    EXPECT_FALSE(view.Following());
    Steps(panel, 5);
    view.TraceChanged();
    EXPECT_EQ(view.First(), 10);

    // Clear while scrolled back: new steps come into view again.
    view.Select(12);
    panel.ClearTrace();
    view.TraceChanged();
    EXPECT_EQ(view.Selected(), -1);
    Steps(panel, 3 * visible);
    view.TraceChanged();
    EXPECT_TRUE(view.Following());
    EXPECT_EQ(view.First(), 2 * visible);
    // And after an Undo Clear, which brings back other steps.
    view.SetFirst(0);
    panel.ClearTrace();
    panel.UndoClearTrace();
    view.TraceChanged();
    EXPECT_EQ(view.First(), view.LastFirst());

    // Scrolling to the end follows again.
    view.SetFirst(3);
    view.SetFirst(1 << 20);
    EXPECT_TRUE(view.Following());
}

TEST(TimingView, ExtraWidthShowsMoreStepsAndExtraHeightSpreadsTheLanesUpToTwice) {
    Panel panel;
    panel.Form_Load();
    TimingView view(panel.trace());
    view.SetSize(720, 100);
    EXPECT_EQ(view.Height(), TimingBaseHeight());
    const int narrow = view.VisibleSteps();
    view.SetSize(1440, 100);
    EXPECT_EQ(view.VisibleSteps(), narrow + 720 / 36);
    EXPECT_EQ(TimingRowPitch(TimingBaseHeight()), kBaseRowPitch);
    EXPECT_EQ(TimingRowPitch(TimingBaseHeight() + 9 * 5), kBaseRowPitch + 5);
    EXPECT_EQ(TimingRowPitch(5000), 2 * kBaseRowPitch);
    // The cycle row moves down with the spread.
    const auto cycleTop = [&](int height) {
        view.SetSize(720, height);
        for (const TimingPrimitive& p : view.Draw())
            if (p.role == TimingRole::Name && p.text == "Cycle") return p.y;
        return -1;
    };
    EXPECT_EQ(cycleTop(TimingBaseHeight() + 900) - cycleTop(TimingBaseHeight()), 8 * kBaseRowPitch + 13);
}

struct KeyCase {
    const char* tag;
    int selected;  // before the keys; -1 none
    std::vector<TimingView::Key> keys;
    int after;
};

class Keys : public ::testing::TestWithParam<KeyCase> {};

// Over a trace of 105 steps, the selection walks and the view keeps it in sight.
TEST_P(Keys, WalkTheSelection) {
    Panel panel;
    panel.Form_Load();
    Steps(panel, 100);
    TimingView view(panel.trace());
    view.TraceChanged();
    view.Select(GetParam().selected);
    for (const TimingView::Key k : GetParam().keys) view.Press(k);
    EXPECT_EQ(view.Selected(), GetParam().after);
    EXPECT_GE(view.Selected(), view.First());
    EXPECT_LT(view.Selected(), view.First() + view.VisibleSteps());
}

INSTANTIATE_TEST_SUITE_P(
    TimingView, Keys,
    ::testing::Values(KeyCase{"leftFromNoneTakesTheNewest", -1, {K::Left}, 104},
                      KeyCase{"rightFromNoneTakesTheNewest", -1, {K::Right}, 104},
                      KeyCase{"leftStopsAtTheOldest", 1, {K::Left, K::Left, K::Left}, 0},
                      KeyCase{"rightStopsAtTheNewest", 103, {K::Right, K::Right}, 104},
                      KeyCase{"homeScrollsBack", 100, {K::Home}, 0},
                      KeyCase{"endScrollsForward", 0, {K::End}, 104},
                      KeyCase{"zoomKeepsIt", 50, {K::ZoomIn, K::ZoomOut, K::Right}, 51}),
    [](const auto& info) { return std::string(info.param.tag); });

TEST(TimingView, KeysOnAnEmptyTraceArePassedOn) {
    Trace trace;
    TimingView view(trace);
    for (const K k : {K::Left, K::Right, K::Home, K::End}) EXPECT_FALSE(view.Press(k));
    EXPECT_EQ(view.Selected(), -1);
}

struct StepAtCase {
    const char* tag;
    int x;
    int step;
};

class StepAt : public ::testing::TestWithParam<StepAtCase> {};

// Ten steps from step 0 at the default zoom, the view scrolled to step 2.
TEST_P(StepAt, FindsTheStepUnderX) {
    Panel panel;
    panel.Form_Load();
    Steps(panel, 5);
    TimingView view(panel.trace());
    view.SetSize(kNamesWidth + kRightMargin + 8 * 36, 0);
    view.SetFirst(2);
    EXPECT_EQ(view.StepAt(GetParam().x), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(TimingView, StepAt,
                         ::testing::Values(StepAtCase{"inTheNames", kNamesWidth - 1, -1},
                                           StepAtCase{"firstPixel", kNamesWidth, 2},
                                           StepAtCase{"lastPixelOfFirst", kNamesWidth + 35, 2},
                                           StepAtCase{"second", kNamesWidth + 36, 3},
                                           StepAtCase{"newest", kNamesWidth + 7 * 36, 9},
                                           StepAtCase{"pastTheNewest", kNamesWidth + 8 * 36, -1}),
                         [](const auto& info) { return std::string(info.param.tag); });

// ---- What the diagram shows ----

// Each bus lane's texts, left to right, keyed by their baseline.
std::vector<std::vector<std::string>> BusLabels(const std::vector<TimingPrimitive>& all) {
    std::map<int, std::vector<std::pair<int, std::string>>> byLane;
    for (const TimingPrimitive* p : OfRole(all, TimingRole::BusValue)) byLane[p->y].push_back({p->x, p->text});
    std::vector<std::vector<std::string>> out;
    for (auto& [y, texts] : byLane) {
        std::sort(texts.begin(), texts.end());
        out.emplace_back();
        for (auto& t : texts) out.back().push_back(t.second);
    }
    return out;
}

// The values each lane must show: at the first step in view and at every
// change.
std::vector<std::vector<std::string>> Expected(const Trace& trace, const TimingFrame& f) {
    std::vector<std::vector<std::string>> out(3);
    for (int i = f.first; i < f.first + f.count; ++i) {
        const TraceStep& s = trace[static_cast<std::size_t>(i)];
        const std::string* values[3] = {&s.address, &s.data, &s.read};
        for (int lane = 0; lane < 3; ++lane) {
            const TraceStep& p = trace[static_cast<std::size_t>(std::max(i - 1, 0))];
            const std::string* before[3] = {&p.address, &p.data, &p.read};
            if (i == f.first || *values[lane] != *before[lane]) out[static_cast<std::size_t>(lane)].push_back(*values[lane]);
        }
    }
    return out;
}

struct LabelCase {
    const char* tag;
    int first;  // -1 follows
    int width;
};

class BusLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(BusLabel, EveryValueAtTheFirstStepInViewAndAtEveryChange) {
    Panel panel;
    WriteOnTheWay(panel);
    TimingView view(panel.trace());
    view.SetSize(GetParam().width, 0);
    view.TraceChanged();
    if (GetParam().first >= 0) view.SetFirst(GetParam().first);
    EXPECT_EQ(BusLabels(view.Draw()), Expected(panel.trace(), view.Frame()));
}

INSTANTIATE_TEST_SUITE_P(TimingView, BusLabel,
                         ::testing::Values(LabelCase{"wholeWalk", -1, 1600}, LabelCase{"following", -1, 720},
                                           LabelCase{"scrolledIntoTheWrite", 9, 400},
                                           LabelCase{"oneStep", 14, kNamesWidth + kRightMargin}),
                         [](const auto& info) { return std::string(info.param.tag); });

// At any zoom no value runs past the newest step's end, where the lanes
// end; the newest value is written where its step is wide enough.
TEST(TimingView, TheNewestValuesStayInsideTheirLaneAtEveryZoom) {
    Panel panel;
    WriteOnTheWay(panel);
    panel.EditDataText("BEEF");
    TimingView view(panel.trace());
    view.TraceChanged();
    for (int zoom = TimingView::kMinZoom; zoom <= TimingView::kMaxZoom; zoom *= 2) {
        view.SetZoom(zoom);
        const std::vector<TimingPrimitive> drawn = view.Draw();
        const auto lanes = BusLabels(drawn);
        ASSERT_EQ(lanes.size(), 3u);
        EXPECT_TRUE(zoom < TimingView::kDefaultZoom || lanes[1].back() == "BEEF") << zoom;
        const int laneEnd = kNamesWidth + view.Frame().count * zoom;
        for (const TimingPrimitive* p : OfRole(drawn, TimingRole::BusValue))
            EXPECT_LE(p->x + static_cast<int>(p->text.size()) * kCharWidth, laneEnd) << zoom;
    }
}

TEST(TimingView, TheSelectionIsShownButNeverExported) {
    Panel panel;
    WriteOnTheWay(panel);
    TimingView view(panel.trace());
    view.TraceChanged();
    view.Press(K::End);
    EXPECT_EQ(OfRole(view.Draw(), TimingRole::Selection).size(), 1u);
    for (const bool all : {false, true}) {
        const TimingFrame f = view.ExportFrame(all);
        EXPECT_EQ(f.selected, -1);
        EXPECT_EQ(view.Svg(all).find(StyleOf(TimingRole::Selection).fill), std::string::npos);
    }
}

// ---- Exports ----

TEST(TimingExport, SvgHoldsEveryPrimitiveOnce) {
    Panel panel;
    WriteOnTheWay(panel);
    TimingView view(panel.trace());
    view.TraceChanged();
    const std::vector<TimingPrimitive> all = LayoutTiming(panel.trace(), view.ExportFrame(false));
    const std::string svg = view.Svg(false);
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = svg.find(what); at != std::string::npos; at = svg.find(what, at + 1)) ++n;
        return n;
    };
    std::size_t texts = 0, polygons = 0;
    for (const TimingPrimitive& p : all) {
        texts += p.shape == TimingShape::Text;
        polygons += p.shape == TimingShape::Polygon;
    }
    EXPECT_EQ(count("<text "), texts);
    EXPECT_EQ(count("<polygon "), polygons);
    EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);
    EXPECT_NE(svg.find("width=\"" + std::to_string(view.Width()) + "\""), std::string::npos);
}

struct ElementCase {
    const char* tag;
    TimingPrimitive primitive;
    const char* element;  // as SVG draws it, written by hand
};

class SvgElement : public ::testing::TestWithParam<ElementCase> {};

TEST_P(SvgElement, IsTheRolesStyleOnTheRightPixels) {
    const std::string svg = TimingSvg({GetParam().primitive}, 10, 10);
    const std::size_t body = svg.find("</title>\n") + 9;
    EXPECT_EQ(svg.substr(body, svg.size() - body - 7), GetParam().element);
}

using S = TimingShape;
using R = TimingRole;
INSTANTIATE_TEST_SUITE_P(
    TimingExport, SvgElement,
    ::testing::Values(
        ElementCase{"dashedLine", {.shape = S::Line, .role = R::ActionMark, .x = 3, .y = 0, .x2 = 3, .y2 = 9},
                    "<line x1=\"3.5\" y1=\"0.5\" x2=\"3.5\" y2=\"9.5\" stroke=\"#999999\" stroke-dasharray=\"3 3\"/>\n"},
        ElementCase{"outline", {.shape = S::Rect, .role = R::WriteBox, .x = 1, .y = 2, .x2 = 5, .y2 = 4},
                    "<rect x=\"1.5\" y=\"2.5\" width=\"5\" height=\"4\" fill=\"none\" stroke=\"#c8321e\"/>\n"},
        ElementCase{"translucentFill", {.shape = S::Rect, .role = R::ReadFill, .x = 1, .y = 2, .x2 = 5, .y2 = 4},
                    "<rect x=\"1\" y=\"2\" width=\"5\" height=\"4\" fill=\"#1f5fc8\" fill-opacity=\"0.35\"/>\n"},
        ElementCase{"busOutline", {.shape = S::Polygon, .role = R::Bus, .points = {0, 4, 2, 0, -1, 8}},
                    "<polygon points=\"0.5,4.5 2.5,0.5 -0.5,8.5\" fill=\"none\" stroke=\"#000000\"/>\n"},
        ElementCase{"escapedCentredText",
                    {.shape = S::Text, .role = R::CycleLetter, .x = 5, .y = 9, .anchor = TextAnchor::Middle, .text = "<&>"},
                    "<text x=\"5\" y=\"9\" text-anchor=\"middle\" fill=\"#000000\">&lt;&amp;&gt;</text>\n"},
        ElementCase{"selectionLeftOut", {.shape = S::Rect, .role = R::Selection, .x2 = 5, .y2 = 5}, ""}),
    [](const auto& info) { return std::string(info.param.tag); });

struct AllStepsCase {
    const char* tag;
    int steps;
    int zoom;
};

class AllSteps : public ::testing::TestWithParam<AllStepsCase> {};

TEST_P(AllSteps, FitIntoTheWidestPicture) {
    Panel panel;
    panel.Form_Load();
    Steps(panel, GetParam().steps - 5);
    TimingView view(panel.trace());
    view.TraceChanged();
    const TimingFrame f = view.ExportFrame(true);
    EXPECT_EQ(f.first, 0);
    EXPECT_EQ(f.count, static_cast<int>(panel.trace().size()));
    EXPECT_EQ(f.zoom, GetParam().zoom);
    EXPECT_LE(f.width, TimingView::kMaxExportWidth);
    EXPECT_EQ(view.ExportFrame(false).count, view.VisibleSteps());
}

INSTANTIATE_TEST_SUITE_P(TimingExport, AllSteps,
                         ::testing::Values(AllStepsCase{"fewAtTheViewsZoom", 100, 36},
                                           AllStepsCase{"manyNarrower", 1000, 16},
                                           AllStepsCase{"allKept", 5000, 3}),
                         [](const auto& info) { return std::string(info.param.tag); });

TEST(TimingExport, WaveJsonHasOnePeriodPerStepAndTheValues) {
    Panel panel;
    WriteOnTheWay(panel);
    const Trace& trace = panel.trace();
    const std::string json = TimingWaveJson(trace, 3, trace.size() - 3);
    const std::regex wave("\"wave\": \"([^\"]*)\"");
    std::size_t lanes = 0;
    for (auto it = std::sregex_iterator(json.begin(), json.end(), wave); it != std::sregex_iterator(); ++it, ++lanes)
        EXPECT_EQ((*it)[1].length(), static_cast<long>(trace.size() - 3)) << (*it)[1];
    EXPECT_EQ(lanes, 9u);
    EXPECT_NE(json.find("{\"name\": \"C\xCC\x85" "E\xCC\x85\", \"wave\": \"1"), std::string::npos);
    EXPECT_NE(json.find("{\"name\": \"A\", \"wave\": \"=.==...........==..\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"data\": [\"0\", \"1\", \"5\", \"4\", \"0\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"W both\""), std::string::npos);
    EXPECT_NE(json.find("\"R both\""), std::string::npos);
}

// ---- The window's texts ----

// Both front ends ask these names: every control shown has a text with one
// mnemonic of its own, every save its filter's text; other names have none.
TEST(TimingText, EveryControlHasItsTextsAndItsOwnMnemonic) {
    std::string letters;
    for (const TimingControl& c : TimingControls()) {
        if (!c.file.empty()) {
            EXPECT_FALSE(TimingText(c.filter).empty()) << c.name;
        }
        if (c.bar == TimingBar::KeyOnly) continue;
        const std::string text = TimingText(c.name);
        ASSERT_EQ(std::count(text.begin(), text.end(), '&'), 1) << c.name;
        letters += static_cast<char>(std::tolower(static_cast<unsigned char>(text[text.find('&') + 1])));
    }
    std::sort(letters.begin(), letters.end());
    EXPECT_EQ(std::adjacent_find(letters.begin(), letters.end()), letters.end()) << letters;
    EXPECT_EQ(TimingText("unknownName"), "");
}

// Each Save dialog names its own format, in every language.
TEST(TimingText, EverySaveDialogIsTitledWithItsFormat) {
    for (const std::string& language : Languages()) {
        ASSERT_TRUE(SetLanguage(language));
        for (const auto& [suffix, format] : {std::pair{"svg", "SVG"}, {"png", "PNG"}, {"json", "WaveDrom"}, {"csv", "CSV"}})
            EXPECT_NE(TimingSaveTitle(suffix).find(format), std::string::npos) << language << " " << suffix;
    }
    SetLanguage("en");
}

// ---- Where the window opens ----

struct PlaceCase {
    const char* tag;
    PlaceRect screen, main;
    std::optional<PlaceRect> other;  // the exercise window, or for the exercise window the timing window
    PlaceRect expected;
    bool exercise = false;  // placing the exercise window (400 x 360) rather than the timing window
};

class Place : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Place, BesideTheMainWindowInTheFreeSpace) {
    const PlaceCase& c = GetParam();
    const PlaceRect got = c.exercise ? PlaceExerciseWindow(c.screen, c.main, c.other, {0, 0, 400, 360})
                                     : PlaceTimingWindow(c.screen, c.main, c.other, {0, 0, 720, 340});
    EXPECT_EQ(got, c.expected) << got.x << "," << got.y << " " << got.width << "x" << got.height;
}

INSTANTIATE_TEST_SUITE_P(
    TimingPlacement, Place,
    ::testing::Values(
        PlaceCase{"rightWithRoomToSpare", {0, 0, 1920, 1080}, {100, 100, 600, 500}, {}, {708, 100, 720, 340}},
        PlaceCase{"rightSizedToTheRoom", {0, 0, 1280, 1024}, {100, 100, 600, 500}, {}, {708, 100, 572, 340}},
        PlaceCase{"belowWhenTheRightIsNarrow", {0, 0, 1024, 1024}, {100, 100, 600, 500}, {}, {100, 608, 720, 340}},
        PlaceCase{"leftWhenOnlyTheLeftIsFree", {0, 0, 1280, 800}, {700, 100, 580, 700}, {}, {0, 100, 692, 340}},
        PlaceCase{"besideTheExerciseWindow", {0, 0, 1920, 1080}, {100, 100, 600, 500}, PlaceRect{708, 100, 500, 700},
                  {1216, 100, 704, 340}},
        PlaceCase{"belowTheExerciseWindow", {0, 0, 1400, 1080}, {100, 100, 600, 500}, PlaceRect{708, 100, 500, 400},
                  {708, 508, 692, 340}},
        PlaceCase{"screenOffsetFromZero", {1920, 0, 1920, 1080}, {1920, 0, 600, 500}, {}, {2528, 0, 720, 340}},
        PlaceCase{"nothingFitsOverlapsLeast", {0, 0, 800, 600}, {0, 0, 700, 560}, {}, {400, 360, 400, 240}},
        // The exercise window prefers the left, then above, and keeps clear of the timing window.
        PlaceCase{"exerciseLeftWithRoom", {0, 0, 1920, 1080}, {700, 100, 600, 500}, {}, {292, 100, 400, 360}, true},
        PlaceCase{"exerciseLeftNextToTheMainWindow", {0, 0, 1920, 1080}, {450, 100, 600, 500}, {}, {42, 100, 400, 360},
                  true},
        PlaceCase{"exerciseAboveWhenTheLeftIsNarrow", {0, 0, 1920, 1080}, {100, 500, 600, 500}, {},
                  {100, 132, 400, 360}, true},
        PlaceCase{"exerciseRightWhenLeftAndAboveAreFull", {0, 0, 1920, 1080}, {0, 0, 600, 500}, {},
                  {608, 0, 400, 360}, true},
        PlaceCase{"exerciseBelowTheTimingWindow", {0, 0, 1920, 1080}, {700, 100, 600, 500}, PlaceRect{0, 100, 692, 340},
                  {292, 448, 400, 360}, true},
        PlaceCase{"exerciseNothingFitsOverlapsLeast", {0, 0, 800, 600}, {0, 0, 700, 560}, {}, {400, 360, 400, 240},
                  true}),
    [](const auto& info) { return std::string(info.param.tag); });

}  // namespace
}  // namespace bitwell
