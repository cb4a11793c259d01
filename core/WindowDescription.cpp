#include "core/WindowDescription.h"

#include <cctype>
#include <cstddef>
#include <iterator>

#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "core/Json.h"

namespace bitwell {

namespace {

constexpr Message kDefaultHelp =
    Msg("frmMain", "Hover your mouse over a control signal label to see a description.");
constexpr Message kAddressHelp = Msg("lblAddr", "Address range: 0x0 - 0xF (0 - 15).");
constexpr Message kDataHelp = Msg("lblData", "Double click here to enter the data textually.");
constexpr Message kReadHelp = Msg("lblRead", "Double click here to copy the read data to the input data above.");

// The help texts that name the mouse's ways, each with its words for a
// touch screen (a tap for hovering, a double tap for a double click).
struct TouchText {
    Message mouse, touch;
};
constexpr TouchText kTouchTexts[] = {
    {.mouse = kDefaultHelp, .touch = Msg("frmMain", "Tap a control signal label to see a description.")},
    {.mouse = kDataHelp, .touch = Msg("lblData", "Double tap here to enter the data textually.")},
    {.mouse = kReadHelp, .touch = Msg("lblRead", "Double tap here to copy the read data to the input data above.")},
};

// `m`'s words for a touch screen; empty where it names no mouse's way.
Message TouchVariant(const Message& m) {
    for (const TouchText& t : kTouchTexts)
        if (!m.empty() && std::string_view(t.mouse.id) == m.id) return t.touch;
    return {};
}

// The five control signals, left to right: switch, caption and over-bar in
// one row each.
struct LevelRow {
    Control control;
    const char* signal;  // its tooltip and caption; sigWE, lblWE
    // The focus order puts the upper byte enable first, then the data bits,
    // the address bits and these four.
    int tab;
    int switchLeft, captionLeft;
    const char* bar;  // the over-bar that marks it active LOW
    int barX1, barX2;
    RequiredMessage name, help;
};
constexpr LevelRow kLevelRows[] = {
    {.control = Control::WE, .signal = "WE", .tab = 24, .switchLeft = 405, .captionLeft = 405,
     .bar = "Line1", .barX1 = 390, .barX2 = 675, .name = Msg("sigWE", "Write enable, active low"),
     .help = Msg("lblWE", "Write Enable signal. Active LOW.")},
    {.control = Control::CE, .signal = "CE", .tab = 23, .switchLeft = 885, .captionLeft = 915,
     .bar = "Line2", .barX1 = 870, .barX2 = 1155, .name = Msg("sigCE", "Chip enable, active low"),
     .help = Msg("lblCE", "Chip Enable signal. Active LOW.")},
    {.control = Control::OE, .signal = "OE", .tab = 21, .switchLeft = 1365, .captionLeft = 1395,
     .bar = "Line4", .barX1 = 1365, .barX2 = 1650, .name = Msg("sigOE", "Output enable, active low"),
     .help = Msg("lblOE", "Output Enable signal. Active LOW.")},
    {.control = Control::LB, .signal = "LB", .tab = 22, .switchLeft = 1845, .captionLeft = 1890,
     .bar = "Line7", .barX1 = 1845, .barX2 = 2130, .name = Msg("sigLB", "Lower byte enable, active low"),
     .help = Msg("lblLB", "Lower Byte Enable signal. Active LOW.")},
    {.control = Control::UB, .signal = "UB", .tab = 0, .switchLeft = 2325, .captionLeft = 2340,
     .bar = "Line6", .barX1 = 2295, .barX2 = 2580, .name = Msg("sigUB", "Upper byte enable, active low"),
     .help = Msg("lblUB", "Upper Byte Enable signal. Active LOW.")},
};
constexpr bool OneRowPerControl() {
    for (std::size_t c = 0; c < kControlCount; ++c) {
        int rows = 0;
        for (const LevelRow& row : kLevelRows) rows += static_cast<std::size_t>(row.control) == c ? 1 : 0;
        if (rows != 1) return false;
    }
    return true;
}
static_assert(std::size(kLevelRows) == kControlCount && OneRowPerControl(),
              "every control signal has exactly one row");

std::string SwitchName(const LevelRow& row) { return std::string("sig") + row.signal; }

// The data bits nibble by nibble from the low one, each nibble from its top bit.
int DataTab(int bit) { return 1 + (bit / 4) * 4 + (3 - bit % 4); }

std::string Indexed(const char* name, int index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}

// A title and the value caption that follows it on one row of the signal
// panel, 255 twips high; the title's text stops where the value starts.
struct ValueRow {
    const char* title;
    RequiredMessage titleText;
    int titleLeft, titleWidth;
    RequiredMessage titleHelp;
    const char* value;
    RequiredMessage valueText;
    int valueLeft, valueWidth;
    RequiredMessage valueHelp, valueName, valueDescription;
    int top;
};

void AddValueRow(std::vector<ControlSpec>& out, const ValueRow& row) {
    out.push_back({.name = row.title, .kind = ControlKind::Caption, .parent = "Frame3",
                   .left = row.titleLeft, .top = row.top, .width = row.titleWidth, .height = 255,
                   .caption = row.titleText, .help = row.titleHelp, .accessibleDescription = row.titleHelp,
                   .textLimit = row.valueLeft - row.titleLeft});
    out.push_back({.name = row.value, .kind = ControlKind::Caption, .parent = "Frame3",
                   .left = row.valueLeft, .top = row.top, .width = row.valueWidth, .height = 255,
                   .caption = row.valueText, .help = row.valueHelp, .accessibleName = row.valueName,
                   .accessibleDescription = row.valueDescription});
}

void AddSignalPanel(std::vector<ControlSpec>& out) {
    out.push_back({.name = "Frame3", .kind = ControlKind::Group, .left = 120, .top = 120, .width = 4575,
                   .height = 6255, .caption = Msg("Frame3", "Memory Signals"), .help = kDefaultHelp});

    // Lowest first: the outline, then the lower-half background, then the lamp.
    for (int k = 0; k < 16; ++k)
        out.push_back({.name = Indexed("borderRead", 16 + k), .kind = ControlKind::LampBorder,
                       .parent = "Frame3", .left = 405 + 240 * k, .top = 3960, .width = 135, .height = 1215});
    for (int k = 0; k < 16; ++k)
        out.push_back({.name = Indexed("backgroundRead", 16 + k), .kind = ControlKind::LampBack,
                       .parent = "Frame3", .left = 405 + 240 * k, .top = 4560, .width = 135, .height = 615});
    for (int i = 0; i < 16; ++i)
        out.push_back({.name = Indexed("sigRead", i), .kind = ControlKind::Lamp, .parent = "Frame3",
                       .left = 4005 - 240 * i, .top = 3960, .width = 135, .height = 1215, .arg = i,
                       .accessibleName = Msg("sigRead", "Read bit %1"), .tooltip = Raw("Q%1"), .value = 1});

    for (const LevelRow& row : kLevelRows)
        out.push_back({.name = SwitchName(row), .kind = ControlKind::Switch, .parent = "Frame3",
                       .left = row.switchLeft, .top = 360, .width = 255, .height = 1215, .tab = row.tab,
                       .accessibleName = row.name, .accessibleDescription = row.help,
                       .tooltip = Raw(row.signal), .activeLow = true});
    for (int i = 0; i < 4; ++i)
        out.push_back({.name = Indexed("sigAddr", i), .kind = ControlKind::Switch, .parent = "Frame3",
                       .left = 3885 - 360 * i, .top = 360, .width = 255, .height = 1215, .tab = 17 + i,
                       .arg = i, .accessibleName = Msg("sigAddr", "Address bit %1"), .tooltip = Raw("A%1")});
    for (int i = 0; i < 16; ++i)
        out.push_back({.name = Indexed("sigData", i), .kind = ControlKind::Switch, .parent = "Frame3",
                       .left = 4005 - 240 * i, .top = 2280, .width = 135, .height = 1215, .tab = DataTab(i),
                       .arg = i, .accessibleName = Msg("sigData", "Data bit %1"), .tooltip = Raw("D%1")});

    for (const LevelRow& row : kLevelRows)
        out.push_back({.name = std::string("lbl") + row.signal, .kind = ControlKind::Caption,
                       .parent = "Frame3", .left = row.captionLeft, .top = 1680, .width = 375, .height = 255,
                       .caption = Raw(row.signal), .help = row.help, .accessibleDescription = row.help,
                       .colour = Colour::Black});
    AddValueRow(out, {.title = "lblAddrTitle", .titleText = Msg("lblAddrTitle", "Address: 0x"),
                      .titleLeft = 3045, .titleWidth = 915, .titleHelp = kAddressHelp, .value = "lblAddr",
                      .valueText = Raw("0"), .valueLeft = 3870, .valueWidth = 315, .valueHelp = kAddressHelp,
                      .valueName = Msg("lblAddr", "Address"), .valueDescription = kAddressHelp, .top = 1680});

    for (const LevelRow& row : kLevelRows)
        out.push_back({.name = row.bar, .kind = ControlKind::Line, .parent = "Frame3", .left = row.barX1,
                       .top = 1665, .width = row.barX2, .height = 1665});

    const auto byteTitle = [&out](const char* name, Message caption, int left) {
        out.push_back({.name = name, .kind = ControlKind::Caption, .parent = "Frame3", .left = left,
                       .top = 1995, .width = 765, .height = 195, .caption = caption, .colour = Colour::Blue});
    };
    byteTitle("Label2", Msg("Label2", "High Byte"), 1035);
    byteTitle("Label1", Msg("Label1", "Low Byte"), 2775);
    // The byte dividers of the data and read rows.
    const struct {
        const char* name;
        int y1, y2;
    } dividers[] = {{.name = "Line3", .y1 = 2265, .y2 = 3510}, {.name = "Line5", .y1 = 3960, .y2 = 5205}};
    for (const auto& d : dividers)
        out.push_back({.name = d.name, .kind = ControlKind::Line, .parent = "Frame3", .left = 2265, .top = d.y1,
                       .width = 2265, .height = d.y2, .colour = Colour::Blue});

    // The value captions' descriptions name the keyboard way to their
    // double-click gestures.
    AddValueRow(out, {.title = "lblDataTitle", .titleText = Msg("lblDataTitle", "Data Input: 0x"),
                      .titleLeft = 1515, .titleWidth = 1065,
                      .titleHelp = Msg("lblDataTitle", "Data to be written: 16 bits."), .value = "lblData",
                      .valueText = Raw("0000"), .valueLeft = 2520, .valueWidth = 450,
                      .valueHelp = kDataHelp,
                      .valueName = Msg("lblData", "Data input"),
                      .valueDescription = Msg("lblData", "Double click here or press F2 to enter the data textually."),
                      .top = 3600});
    AddValueRow(out, {.title = "lblReadTitle", .titleText = Msg("lblReadTitle", "Data Read: 0x"),
                      .titleLeft = 1530, .titleWidth = 1035,
                      .titleHelp = Msg("lblReadTitle", "Data from the last read operation: 16 bits."),
                      .value = "lblRead", .valueText = Raw("0000"), .valueLeft = 2565, .valueWidth = 435,
                      .valueHelp = kReadHelp,
                      .valueName = Msg("lblRead", "Data read"),
                      .valueDescription = Msg("lblRead", "Double click here or press Ctrl+R to copy the read data "
                                                         "to the input data above."),
                      .top = 5280});

    // The level marks: 1 at the top end of each row, 0 at the bottom.
    const struct {
        const char* name;
        const char* mark;
        int top;
    } marks[] = {{.name = "Label9", .mark = "1", .top = 480},   {.name = "Label10", .mark = "0", .top = 1200},
                 {.name = "Label6", .mark = "1", .top = 2400},  {.name = "Label5", .mark = "0", .top = 3120},
                 {.name = "Label7", .mark = "1", .top = 4080},  {.name = "Label8", .mark = "0", .top = 4800}};
    for (const auto& m : marks)
        out.push_back({.name = m.name, .kind = ControlKind::Caption, .parent = "Frame3", .left = 240, .top = m.top,
                       .width = 135, .height = 255, .caption = Raw(m.mark), .colour = Colour::Blue,
                       .decorative = true});
}

void AddListings(std::vector<ControlSpec>& out) {
    out.push_back({.name = "Frame2", .kind = ControlKind::Group, .left = 4920, .top = 120, .width = 3855,
                   .height = 2775, .caption = Msg("Frame2", "Memory Contents")});
    out.push_back({.name = "lblContents", .kind = ControlKind::Caption, .parent = "Frame2", .left = 240,
                   .top = 360, .width = 2655, .height = 2175,
                   .accessibleName = Msg("lblContents", "Memory contents"), .face = Face::Listing12});

    out.push_back({.name = "Frame1", .kind = ControlKind::Group, .left = 4920, .top = 3000, .width = 3855,
                   .height = 3375, .caption = Msg("Frame1", "Data Type Representation"), .help = kDefaultHelp});
    out.push_back({.name = "Label3", .kind = ControlKind::Caption, .parent = "Frame1", .left = 240, .top = 360,
                   .width = 1815, .height = 255, .caption = Msg("Label3", "Treat representation as:")});
    const auto option = [&out](const char* name, Message caption, Message help, int left, int width, int tab,
                               int value) {
        out.push_back({.name = name, .kind = ControlKind::Option, .parent = "Frame1", .left = left, .top = 600,
                       .width = width, .height = 255, .tab = tab, .caption = caption, .help = help,
                       .accessibleDescription = help, .value = value});
    };
    option("optBig", Msg("optBig", "Big Endian"),
           Msg("optBig", "Selecting this option will treat the word at the starting address as the high word."),
           240, 1095, 25, 1);
    option("optLittle", Msg("optLittle", "Little Endian"),
           Msg("optLittle", "Selecting this option will treat the word at the starting address as the low word."),
           1680, 1215, 26, 0);
    out.push_back({.name = "lblTypes", .kind = ControlKind::Caption, .parent = "Frame1", .left = 240, .top = 960,
                   .width = 3255, .height = 2265, .help = kDefaultHelp,
                   .accessibleName = Msg("lblTypes", "Data type representation"), .face = Face::Listing8});

    out.push_back({.name = "lblStatus", .kind = ControlKind::Caption, .left = 0, .top = 6480, .width = 8895,
                   .height = 255, .caption = kDefaultHelp, .accessibleName = Msg("lblStatus", "Status")});
}

std::vector<ControlSpec> BuildControls() {
    std::vector<ControlSpec> out;
    out.reserve(120);
    AddSignalPanel(out);
    AddListings(out);
    return out;
}

std::vector<MenuSpec> BuildMenus() {
    MenuItemSpec languages{.name = "mnuViewLanguage", .caption = Msg("mnuViewLanguage", "&Language")};
    for (const std::string& code : Languages()) {
        // Each language is named in itself, whatever the window speaks.
        languages.items.push_back({.name = "mnuLanguage(" + code + ")", .caption = Raw(LanguageName(code).data()),
                                   .checkable = true, .exclusive = true});
    }
    // The exercises: built-in ones in course order between Open and Restart.
    // Browsers keep Ctrl+O and F5 for themselves.
    // Groups: Open; the course; the open exercise; its results for the teacher.
    std::vector<MenuItemSpec> exercises{{.name = "mnuExerciseOpen",
                                         .caption = Msg("mnuExerciseOpen", "&Open Exercise File..."),
                                         .shortcut = "Ctrl+O", .shortcutOnPage = false}};
    for (std::size_t i = 0; i < BuiltinExercises().size(); ++i) {
        // Its caption is its title, from its file (MenuText).
        exercises.push_back({.name = "mnuExerciseBuiltin(" + std::to_string(i) + ")", .caption = Message{},
                             .checkable = true, .builtin = static_cast<int>(i), .startsGroup = i == 0});
    }
    exercises.push_back({.name = "mnuExerciseRestart", .caption = Msg("mnuExerciseRestart", "&Restart Exercise"),
                         .shortcut = "F5", .shortcutOnPage = false, .startsGroup = true});
    exercises.push_back({.name = "mnuExerciseClose", .caption = Msg("mnuExerciseClose", "&Close Exercise")});
    exercises.push_back({.name = "mnuExerciseExport", .caption = Msg("mnuExerciseExport", "&Export for Course Site..."),
                         .startsGroup = true});
    exercises.push_back({.name = "mnuExerciseSaveAttempt", .caption = Msg("mnuExerciseSaveAttempt", "Save &Attempt...")});
    exercises.push_back({.name = "mnuExerciseCopyLink", .caption = Msg("mnuExerciseCopyLink", "Copy Exercise &Link"),
                         .pageOnly = true});
    return {
        // The page downloads its own pristine single file: a teacher never has
        // to rely on the browser's save.
        {.name = "mnuFile",
         .caption = Msg("mnuFile", "&File"),
         .items = {{.name = "mnuFileRestart", .caption = Msg("mnuFileRestart", "&Restart")},
                   {.name = "mnuFileSavePage", .caption = Msg("mnuFileSavePage", "Save Page &As..."), .pageOnly = true},
                   {.name = "mnuFileExit", .caption = Msg("mnuFileExit", "&Exit")}}},
        // Keyboard parity for the two double-click gestures.
        {.name = "mnuEdit",
         .caption = Msg("mnuEdit", "&Edit"),
         .items = {{.name = "mnuEditEnter", .caption = Msg("mnuEditEnter", "&Enter Data Word..."), .shortcut = "F2"},
                   {.name = "mnuEditCopyRead", .caption = Msg("mnuEditCopyRead", "&Copy Read to Input"),
                    .shortcut = "Ctrl+R"}}},
        // Browsers keep Ctrl+T for a new tab.
        {.name = "mnuView",
         .caption = Msg("mnuView", "&View"),
         .items = {{.name = "mnuViewTiming", .caption = Msg("mnuViewTiming", "&Timing Diagram"), .shortcut = "Ctrl+T",
                    .shortcutOnPage = false, .checkable = true},
                   languages}},
        {.name = "mnuExercise", .caption = Msg("mnuExercise", "E&xercises"), .items = exercises},
        {.name = "mnuHelp",
         .caption = Msg("mnuHelp", "&Help"),
         .items = {{.name = "mnuHelpAbout", .caption = Msg("mnuHelpAbout", "&About...")}}},
    };
}

// ---- JSON for the page ----

void Quote(std::string& out, std::string_view text) {
    out += '"';
    AppendJsonEscaped(out, text);
    out += '"';
}

class JsonObject {
public:
    explicit JsonObject(std::string& out) : m_out(out) { m_out += '{'; }
    ~JsonObject() { m_out += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    std::string& key(std::string_view name) {
        if (m_any) m_out += ',';
        m_any = true;
        Quote(m_out, name);
        m_out += ':';
        return m_out;
    }
    void text(std::string_view name, std::string_view value) { Quote(key(name), value); }
    void number(std::string_view name, long value) { key(name) += std::to_string(value); }
    // Omitted when empty, so that the page can ask `if (c.help)`.
    void message(std::string_view name, const Message& m, int arg) {
        if (!m.empty()) text(name, Text(m, arg >= 0 ? std::to_string(arg) : std::string()));
    }

private:
    std::string& m_out;
    bool m_any = false;
};

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Group: return "group";
        case ControlKind::Caption: return "caption";
        case ControlKind::Switch: return "switch";
        case ControlKind::Lamp: return "lamp";
        case ControlKind::LampBack: return "background";
        case ControlKind::LampBorder: return "border";
        case ControlKind::Line: return "line";
        case ControlKind::Option: return "option";
        case ControlKind::Button: return "button";
    }
    return "caption";
}

const char* FaceName(Face face) {
    switch (face) {
        case Face::Listing12: return "listing12";
        case Face::Listing8: return "listing8";
        case Face::Listing14: return "listing14";
        case Face::Dialog: break;
    }
    return "dialog";
}

void ControlsJson(std::string& list, const std::vector<ControlSpec>& controls, std::string_view version) {
    list += '[';
    bool first = true;
    for (const ControlSpec& c : controls) {
        if (!first) list += ',';
        first = false;
        JsonObject o(list);
        o.text("name", c.name);
        o.text("kind", KindName(c.kind));
        o.text("parent", c.parent);
        o.number("left", c.left);
        o.number("top", c.top);
        o.number("width", c.width);
        o.number("height", c.height);
        if (c.tab >= 0) o.number("tab", c.tab);
        if (c.arg >= 0) o.number("arg", c.arg);
        // The About notice's %1 is the version.
        if (!c.caption.empty()) o.text("caption", Arg(Text(c.caption, c.arg >= 0 ? std::to_string(c.arg) : ""), {version}));
        o.message("help", c.help, c.arg);
        o.message("touchHelp", TouchVariant(c.help), c.arg);
        o.message("accessibleName", c.accessibleName, c.arg);
        o.message("accessibleDescription", c.accessibleDescription, c.arg);
        o.message("tooltip", c.tooltip, c.arg);
        if (c.colour != Colour::Default) o.text("colour", c.colour == Colour::Blue ? "blue" : "black");
        if (c.face != Face::Dialog) o.text("face", FaceName(c.face));
        if (c.textLimit >= 0) o.number("textLimit", c.textLimit);
        if (c.textLimit >= 0 && TextEndsAtLimit()) o.number("textEnd", 1);
        if (c.value) o.number("value", c.value);
        if (c.wrap) o.number("wrap", 1);
        if (c.activeLow) o.number("activeLow", 1);
        if (c.decorative) o.number("decorative", 1);
    }
    list += ']';
}

void ItemJson(std::string& out, const MenuItemSpec& item) {
    JsonObject o(out);
    o.text("name", item.name);
    o.text("caption", MenuText(item));
    if (item.pageOnly) o.number("page", 1);
    if (item.builtin >= 0) o.text("file", BuiltinExercises()[static_cast<std::size_t>(item.builtin)].name);
    if (!item.shortcut.empty() && item.shortcutOnPage) o.text("keys", item.shortcut);
    if (item.checkable) o.number("check", item.exclusive ? 2 : 1);
    if (item.startsGroup) o.number("group", 1);
    if (!item.items.empty()) {
        std::string& list = o.key("items");
        list += '[';
        for (std::size_t i = 0; i < item.items.size(); ++i) {
            if (i) list += ',';
            ItemJson(list, item.items[i]);
        }
        list += ']';
    }
}

}  // namespace

const Message kLampLit = Msg("sigRead", "lit, 1");
const Message kLampDark = Msg("sigRead", "dark, 0");
const Message kActionAndDone = Msg("lblAnnounce", "%1. %2");
const Message kLevelHigh = Msg("sigLevel", "HIGH, inactive");
const Message kLevelLow = Msg("sigLevel", "LOW, active");

std::string Text(const Message& m, std::string_view arg) {
    if (m.empty()) return {};
    const std::string text = m.context ? Tr(m.context, m.id) : std::string(m.id);
    if (arg.empty()) return text;
    return Arg(text, {arg});
}

const WindowSpec& MainWindow() {
    static const WindowSpec kWindow{.name = "frmMain", .title = Raw("Quorin Bitwell"), .width = 8895,
                                    .height = 6765, .defaultHelp = kDefaultHelp};
    return kWindow;
}

const std::vector<ControlSpec>& MainWindowControls() {
    static const std::vector<ControlSpec> kControls = BuildControls();
    return kControls;
}

const ControlSpec* FindControl(std::string_view name) {
    for (const ControlSpec& c : MainWindowControls())
        if (c.name == name) return &c;
    return nullptr;
}

bool TextEndsAtLimit() { return CurrentLanguage() != Languages().front(); }

std::string LevelSwitchName(Control c) {
    for (const LevelRow& row : kLevelRows)
        if (row.control == c) return SwitchName(row);
    return {};
}

const std::vector<MenuSpec>& MainWindowMenus() {
    static const std::vector<MenuSpec> kMenus = BuildMenus();
    return kMenus;
}

namespace {

// The access key of built-in item `index`, "&" included: the top row's
// digits first, then letters that no other item of the Exercises menu
// takes in the current language.
std::string CourseAccessKey(int index) {
    if (index < 9) return "&" + std::to_string(index + 1);
    if (index == 9) return "1&0";
    std::string taken;
    for (const MenuSpec& menu : MainWindowMenus()) {
        if (menu.name != "mnuExercise") continue;
        for (const MenuItemSpec& other : menu.items) {
            const std::string caption = other.builtin < 0 ? Text(other.caption) : std::string();
            for (std::size_t at = caption.find('&'); at != std::string::npos && at + 1 < caption.size();
                 at = caption.find('&', at + 2)) {
                if (caption[at + 1] == '&') continue;  // "&&" is a plain "&"
                taken += static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
                break;
            }
        }
    }
    int skip = index - 10;
    for (char c = 'a'; c <= 'z'; ++c)
        if (taken.find(c) == std::string::npos && skip-- == 0)
            return {'&', static_cast<char>(std::toupper(static_cast<unsigned char>(c)))};
    return {};
}

}  // namespace

std::string MenuText(const MenuItemSpec& item) {
    if (item.builtin < 0) return Text(item.caption);
    const auto& course = BuiltinExercises();
    if (static_cast<std::size_t>(item.builtin) >= course.size()) return {};
    const std::string title = ExerciseTitle(course[static_cast<std::size_t>(item.builtin)].bytes);
    if (title.empty()) return {};
    std::string text = CourseAccessKey(item.builtin) + ' ';
    for (const char c : title) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

const ExerciseWindowTexts& ExerciseWindow() {
    static const ExerciseWindowTexts kTexts{
        .title = Msg("frmExercise", "Exercise"),
        .goals = Msg("frmExercise", "Goals"),
        .hint = Msg("frmExercise", "Hint"),
        .hintButton = Msg("frmExercise", "Show &Hint"),
        .restartButton = Msg("frmExercise", "&Start Over"),
        .filter = Msg("frmExercise", "Exercise files (*.bwx)"),
        .restartTitle = Msg("MsgBox", "Restart Confirmation"),
        .restartQuestion = Msg("MsgBox", "Power the chip up afresh? The memory's words will be lost."),
        .learner = Msg("lblLearner", "Learner: %1"),
        .lmsStatus = Msg("lblLmsStatus", "The course site did not save your last result."),
        .exportTitle = Msg("frmExercise", "Export for Course Site"),
        .exportWebPage = Msg("frmExercise", "Web page"),
        .learnerName = Msg("frmExercise", "Your name, as your teacher will see it:"),
        .copyLink = Msg("frmExercise", "Copy this link"),
    };
    return kTexts;
}

const WindowSpec& AboutWindow() {
    static const WindowSpec kWindow{.name = "frmAbout", .title = Dialogs().aboutTitle, .width = 6015,
                                    .height = 2670, .left = 2340, .top = 1935};
    return kWindow;
}

const std::vector<ControlSpec>& AboutWindowControls() {
    static const std::vector<ControlSpec> kControls = [] {
        const DialogTexts& d = Dialogs();
        return std::vector<ControlSpec>{
            {.name = "Label1", .kind = ControlKind::Caption, .left = 1680, .top = 240, .width = 3015,
             .height = 375, .caption = d.aboutName, .face = Face::Listing14},
            {.name = "Label2", .kind = ControlKind::Caption, .left = 240, .top = 720, .width = 5535,
             .height = 615, .caption = d.aboutText, .wrap = true},
            {.name = "Label3", .kind = ControlKind::Caption, .left = 240, .top = 1440, .width = 5535,
             .height = 495, .caption = d.aboutNotice, .wrap = true},
            {.name = "cmdOK", .kind = ControlKind::Button, .left = 2400, .top = 2160, .width = 1260,
             .height = 345, .tab = 0, .caption = d.ok},
        };
    }();
    return kControls;
}

const DialogTexts& Dialogs() {
    static const DialogTexts kTexts{
        .ok = Msg("buttons", "OK"),
        .cancel = Msg("buttons", "Cancel"),
        .yes = Msg("buttons", "&Yes"),
        .no = Msg("buttons", "&No"),
        .inputTitle = Msg("InputBox", "Memory Input Data"),
        .inputPrompt = Msg("InputBox", "Please enter a hexadecimal value (truncated to 4 digits):"),
        .errorTitle = Msg("MsgBox", "Data Input Error"),
        .exitTitle = Msg("MsgBox", "Exit Confirmation"),
        .exitQuestion = Msg("MsgBox", "Are you sure that you want to exit?"),
        .aboutTitle = Msg("frmAbout", "About Quorin Bitwell"),
        .aboutName = Raw("Quorin Bitwell"),
        .aboutText = Msg("frmAbout",
            "This program is used to demonstrate the operation of a simple memory device and the "
            "representation of various common data types in memory."),
        .aboutNotice = Msg("frmAbout",
            "Quorin Bitwell %1, made by the Bitwell developers for the classroom. Free to use, copy "
            "and share."),
        .ended = Msg("Ended", "Quorin Bitwell has ended."),
        .startAgain = Msg("Ended", "Start Again"),
        .cannotStart = Msg("lblCannotStart",
            "Quorin Bitwell could not start here: this site's security policy or this browser "
            "stopped the page's script or its WebAssembly core. Download the page and open the "
            "file from your own disk, or ask the site to allow the page's script and style hashes "
            "and 'wasm-unsafe-eval' in its Content-Security-Policy."),
        .cannotStyle = Msg("lblCannotStart",
            "Quorin Bitwell could not start here: this site's security policy blocked the page's "
            "style. Download the page and open the file from your own disk, or ask the site's "
            "operator to allow the page's style hashes in the style-src of its Content-Security-Policy."),
    };
    return kTexts;
}

const CourseSiteTexts& CourseSite() {
    static const CourseSiteTexts kTexts{
        .exportTitle = Msg("ExportDialog", "Export for Course Site"),
        .scorm12 = Msg("ExportDialog", "SCORM 1.2 package (*.zip)"),
        .scorm2004 = Msg("ExportDialog", "SCORM 2004 package (*.zip)"),
        .webPage = Msg("ExportDialog", "Web page (*.html)"),
        .noPage = Msg("ExportDialog", "No web page to export from was found with this installation of Quorin Bitwell."),
        .attemptTitle = Msg("AttemptDialog", "Save Attempt"),
        .attemptFilter = Msg("AttemptDialog", "Attempt files (*.bwa)"),
        .learnerTitle = Msg("AttemptDialog", "Your Name"),
        .learnerPrompt = Msg("AttemptDialog", "Your name, as your teacher will see it in the attempt file:"),
        .cannotWrite = Msg("MsgBox", "%1 could not be written."),
    };
    return kTexts;
}

const CommandLineTexts& CommandLine() {
    static const CommandLineTexts kTexts{
        .description = Msg("main", "Drive a static memory chip by hand and watch it work."),
        .help = Msg("main", "Displays this help."),
        .version = Msg("main", "Displays version information."),
        .language = Msg("main", "Shows the program in this language: %1."),
        .checkExercise = Msg("main", "Checks an exercise file and exits."),
        .file = Msg("main", "An exercise file (.bwx) to open."),
        .unexpected = Msg("main", "Unexpected argument '%1'."),
        .unknownLanguage = Msg("main", "Unknown language '%1'. The languages are: %2."),
    };
    return kTexts;
}

std::string JsonString(std::string_view text) {
    std::string out;
    Quote(out, text);
    return out;
}

std::string DescriptionJson(std::string_view version) {
    std::string out;
    out.reserve(24000);
    JsonObject root(out);
    {
        const WindowSpec& w = MainWindow();
        JsonObject o(root.key("window"));
        o.text("name", w.name);
        o.message("title", w.title, -1);
        o.number("width", w.width);
        o.number("height", w.height);
        o.message("help", w.defaultHelp, -1);
        o.message("touchHelp", TouchVariant(w.defaultHelp), -1);
        o.text("language", CurrentLanguage());
    }
    ControlsJson(root.key("controls"), MainWindowControls(), version);
    ControlsJson(root.key("about"), AboutWindowControls(), version);
    {
        JsonObject o(root.key("aboutWindow"));
        o.number("width", AboutWindow().width);
        o.number("height", AboutWindow().height);
    }
    {
        std::string& list = root.key("menus");
        list += '[';
        bool first = true;
        for (const MenuSpec& m : MainWindowMenus()) {
            if (!first) list += ',';
            first = false;
            JsonObject o(list);
            o.text("name", m.name);
            o.message("caption", m.caption, -1);
            std::string& items = o.key("items");
            items += '[';
            for (std::size_t i = 0; i < m.items.size(); ++i) {
                if (i) items += ',';
                ItemJson(items, m.items[i]);
            }
            items += ']';
        }
        list += ']';
    }
    {
        const DialogTexts& d = Dialogs();
        JsonObject o(root.key("dialogs"));
        o.message("ok", d.ok, -1);
        o.message("cancel", d.cancel, -1);
        o.message("yes", d.yes, -1);
        o.message("no", d.no, -1);
        o.message("inputTitle", d.inputTitle, -1);
        o.message("inputPrompt", d.inputPrompt, -1);
        o.message("errorTitle", d.errorTitle, -1);
        o.message("exitTitle", d.exitTitle, -1);
        o.message("exitQuestion", d.exitQuestion, -1);
        o.message("aboutTitle", d.aboutTitle, -1);
        o.message("aboutName", d.aboutName, -1);
        o.message("aboutText", d.aboutText, -1);
        o.text("aboutNotice", Arg(Text(d.aboutNotice), {version}));
        o.message("ended", d.ended, -1);
        o.message("startAgain", d.startAgain, -1);
        o.message("cannotStart", d.cannotStart, -1);
        o.message("cannotStyle", d.cannotStyle, -1);
        o.message("lampLit", kLampLit, -1);
        o.message("lampDark", kLampDark, -1);
        o.message("actionAndDone", kActionAndDone, -1);
        o.message("levelHigh", kLevelHigh, -1);
        o.message("levelLow", kLevelLow, -1);
    }
    {
        const ExerciseWindowTexts& e = ExerciseWindow();
        JsonObject o(root.key("exercise"));
        o.message("title", e.title, -1);
        o.message("goals", e.goals, -1);
        o.message("hint", e.hint, -1);
        o.message("hintButton", e.hintButton, -1);
        o.message("restartButton", e.restartButton, -1);
        o.message("restartTitle", e.restartTitle, -1);
        o.message("restartQuestion", e.restartQuestion, -1);
        o.message("learner", e.learner, -1);
        o.message("lmsStatus", e.lmsStatus, -1);
        o.message("exportTitle", e.exportTitle, -1);
        o.message("exportWebPage", e.exportWebPage, -1);
        o.message("learnerName", e.learnerName, -1);
        o.message("copyLink", e.copyLink, -1);
    }
    return out;
}

double FacePoints(Face face) {
    switch (face) {
    case Face::Dialog: return 8;
    case Face::Listing12: return 12;
    case Face::Listing8: return 8.25;
    case Face::Listing14: return 14.25;
    }
    return 8;
}

}  // namespace bitwell
