#include "core/WindowDescription.h"


#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "core/Json.h"

namespace bitwell {

namespace {

constexpr Message kDefaultHelp =
    Msg("frmMain", "Hover your mouse over a control signal label to see a description.");
constexpr Message kAddressHelp = Msg("lblAddr", "Address range: 0x0 - 0xF (0 - 15).");

// The five control signals: switch, caption and over-bar in one row each.
struct LevelRow {
    const char* signal;
    int switchLeft, captionLeft, barX1, barX2;
    const char* bar;
    Message name, help;
};
const LevelRow kLevelRows[] = {
    {"WE", 405, 405, 390, 675, "Line1", Msg("sigWE", "Write enable, active low"),
     Msg("lblWE", "Write Enable signal. Active LOW.")},
    {"CE", 885, 915, 870, 1155, "Line2", Msg("sigCE", "Chip enable, active low"),
     Msg("lblCE", "Chip Enable signal. Active LOW.")},
    {"OE", 1365, 1395, 1365, 1650, "Line4", Msg("sigOE", "Output enable, active low"),
     Msg("lblOE", "Output Enable signal. Active LOW.")},
    {"LB", 1845, 1890, 1845, 2130, "Line7", Msg("sigLB", "Lower byte enable, active low"),
     Msg("lblLB", "Lower Byte Enable signal. Active LOW.")},
    {"UB", 2325, 2340, 2295, 2580, "Line6", Msg("sigUB", "Upper byte enable, active low"),
     Msg("lblUB", "Upper Byte Enable signal. Active LOW.")},
};

// The focus order: the upper byte enable, the data bits nibble by nibble
// from the low one, the address bits, the other four controls, the options.
int LevelTab(std::string_view signal) {
    if (signal == "UB") return 0;
    if (signal == "OE") return 21;
    if (signal == "LB") return 22;
    if (signal == "CE") return 23;
    return 24;  // WE
}
int DataTab(int bit) { return 1 + (bit / 4) * 4 + (3 - bit % 4); }

std::string Indexed(const char* name, int index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}

ControlSpec Make(std::string name, ControlKind kind, std::string parent, int left, int top,
                 int width, int height) {
    ControlSpec c{};
    c.name = std::move(name);
    c.kind = kind;
    c.parent = std::move(parent);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    return c;
}

ControlSpec Caption(const char* name, const char* parent, Message caption, int left, int top,
                    int width, int height, Colour colour = Colour::Default) {
    ControlSpec c = Make(name, ControlKind::Caption, parent, left, top, width, height);
    c.caption = caption;
    c.colour = colour;
    return c;
}

// A title and the value caption that follows it on one row of the signal
// panel, 255 twips high; the title's text stops where the value starts.
struct ValueRow {
    const char* title;
    Message titleText;
    int titleLeft, titleWidth;
    Message titleHelp;
    const char* value;
    Message valueText;
    int valueLeft, valueWidth;
    Message valueHelp, valueName, valueDescription;
    int top;
};

void AddValueRow(std::vector<ControlSpec>& out, const ValueRow& row) {
    ControlSpec title = Caption(row.title, "Frame3", row.titleText, row.titleLeft, row.top, row.titleWidth, 255);
    title.help = row.titleHelp;
    title.accessibleDescription = row.titleHelp;
    title.textLimit = row.valueLeft - row.titleLeft;
    out.push_back(title);
    ControlSpec value = Caption(row.value, "Frame3", row.valueText, row.valueLeft, row.top, row.valueWidth, 255);
    value.help = row.valueHelp;
    value.accessibleName = row.valueName;
    value.accessibleDescription = row.valueDescription;
    out.push_back(value);
}

void AddSignalPanel(std::vector<ControlSpec>& out) {
    ControlSpec frame = Make("Frame3", ControlKind::Group, "", 120, 120, 4575, 6255);
    frame.caption = Msg("Frame3", "Memory Signals");
    frame.help = kDefaultHelp;
    out.push_back(frame);

    // Lowest first: the outline, then the lower-half background, then the lamp.
    for (int k = 0; k < 16; ++k)
        out.push_back(Make(Indexed("borderRead", 16 + k), ControlKind::LampBorder, "Frame3",
                           405 + 240 * k, 3960, 135, 1215));
    for (int k = 0; k < 16; ++k)
        out.push_back(Make(Indexed("backgroundRead", 16 + k), ControlKind::LampBack, "Frame3",
                           405 + 240 * k, 4560, 135, 615));
    for (int i = 0; i < 16; ++i) {
        ControlSpec lamp =
            Make(Indexed("sigRead", i), ControlKind::Lamp, "Frame3", 4005 - 240 * i, 3960, 135, 1215);
        lamp.arg = i;
        lamp.accessibleName = Msg("sigRead", "Read bit %1");
        lamp.tooltip = Raw("Q%1");
        lamp.value = 1;
        out.push_back(lamp);
    }

    for (const LevelRow& row : kLevelRows) {
        ControlSpec sw = Make(std::string("sig") + row.signal, ControlKind::Switch, "Frame3",
                              row.switchLeft, 360, 255, 1215);
        sw.tab = LevelTab(row.signal);
        sw.accessibleName = row.name;
        sw.accessibleDescription = row.help;
        sw.tooltip = Raw(row.signal);
        sw.activeLow = true;
        out.push_back(sw);
    }
    for (int i = 0; i < 4; ++i) {
        ControlSpec sw = Make(Indexed("sigAddr", i), ControlKind::Switch, "Frame3", 3885 - 360 * i,
                              360, 255, 1215);
        sw.tab = 17 + i;
        sw.arg = i;
        sw.accessibleName = Msg("sigAddr", "Address bit %1");
        sw.tooltip = Raw("A%1");
        out.push_back(sw);
    }
    for (int i = 0; i < 16; ++i) {
        ControlSpec sw = Make(Indexed("sigData", i), ControlKind::Switch, "Frame3", 4005 - 240 * i,
                              2280, 135, 1215);
        sw.tab = DataTab(i);
        sw.arg = i;
        sw.accessibleName = Msg("sigData", "Data bit %1");
        sw.tooltip = Raw("D%1");
        out.push_back(sw);
    }

    for (const LevelRow& row : kLevelRows) {
        ControlSpec c = Caption("", "Frame3", Raw(row.signal), row.captionLeft, 1680, 375, 255,
                                Colour::Black);
        c.name = std::string("lbl") + row.signal;
        c.help = row.help;
        c.accessibleDescription = row.help;
        out.push_back(c);
    }
    AddValueRow(out, {"lblAddrTitle", Msg("lblAddrTitle", "Address: 0x"), 3045, 915, kAddressHelp,
                      "lblAddr", Raw("0"), 3870, 315, kAddressHelp, Msg("lblAddr", "Address"),
                      kAddressHelp, 1680});

    // Over-bars mark the five signals as active LOW.
    for (const LevelRow& row : kLevelRows)
        out.push_back(Make(row.bar, ControlKind::Line, "Frame3", row.barX1, 1665, row.barX2, 1665));

    out.push_back(Caption("Label2", "Frame3", Msg("Label2", "High Byte"), 1035, 1995, 765, 195,
                          Colour::Blue));
    out.push_back(Caption("Label1", "Frame3", Msg("Label1", "Low Byte"), 2775, 1995, 765, 195,
                          Colour::Blue));
    // The byte dividers of the data and read rows.
    const struct {
        const char* name;
        int y1, y2;
    } dividers[] = {{"Line3", 2265, 3510}, {"Line5", 3960, 5205}};
    for (const auto& d : dividers) {
        ControlSpec line = Make(d.name, ControlKind::Line, "Frame3", 2265, d.y1, 2265, d.y2);
        line.colour = Colour::Blue;
        out.push_back(line);
    }

    // The value captions' descriptions name the keyboard way to their
    // double-click gestures.
    AddValueRow(out, {"lblDataTitle", Msg("lblDataTitle", "Data Input: 0x"), 1515, 1065,
                      Msg("lblDataTitle", "Data to be written: 16 bits."), "lblData", Raw("0000"), 2520,
                      450, Msg("lblData", "Double click here to enter the data textually."),
                      Msg("lblData", "Data input"),
                      Msg("lblData", "Double click here or press F2 to enter the data textually."), 3600});
    AddValueRow(out, {"lblReadTitle", Msg("lblReadTitle", "Data Read: 0x"), 1530, 1035,
                      Msg("lblReadTitle", "Data from the last read operation: 16 bits."), "lblRead",
                      Raw("0000"), 2565, 435,
                      Msg("lblRead", "Double click here to copy the read data to the input data above."),
                      Msg("lblRead", "Data read"),
                      Msg("lblRead", "Double click here or press Ctrl+R to copy the read data to the input "
                                     "data above."),
                      5280});

    // The level marks: 1 at the top end of each row, 0 at the bottom.
    const struct {
        const char* name;
        const char* mark;
        int top;
    } marks[] = {{"Label9", "1", 480},  {"Label10", "0", 1200}, {"Label6", "1", 2400},
                 {"Label5", "0", 3120}, {"Label7", "1", 4080},  {"Label8", "0", 4800}};
    for (const auto& m : marks) {
        ControlSpec mark = Caption(m.name, "Frame3", Raw(m.mark), 240, m.top, 135, 255, Colour::Blue);
        mark.decorative = true;
        out.push_back(mark);
    }
}

void AddListings(std::vector<ControlSpec>& out) {
    ControlSpec frame2 = Make("Frame2", ControlKind::Group, "", 4920, 120, 3855, 2775);
    frame2.caption = Msg("Frame2", "Memory Contents");
    out.push_back(frame2);
    ControlSpec contents = Caption("lblContents", "Frame2", Message{}, 240, 360, 2655, 2175);
    contents.face = Face::Listing12;
    contents.accessibleName = Msg("lblContents", "Memory contents");
    out.push_back(contents);

    ControlSpec frame1 = Make("Frame1", ControlKind::Group, "", 4920, 3000, 3855, 3375);
    frame1.caption = Msg("Frame1", "Data Type Representation");
    frame1.help = kDefaultHelp;
    out.push_back(frame1);
    out.push_back(
        Caption("Label3", "Frame1", Msg("Label3", "Treat representation as:"), 240, 360, 1815, 255));
    ControlSpec big = Make("optBig", ControlKind::Option, "Frame1", 240, 600, 1095, 255);
    big.caption = Msg("optBig", "Big Endian");
    big.help = Msg("optBig",
                   "Selecting this option will treat the word at the starting address as the high word.");
    big.accessibleDescription = big.help;
    big.tab = 25;
    big.value = 1;
    out.push_back(big);
    ControlSpec little = Make("optLittle", ControlKind::Option, "Frame1", 1680, 600, 1215, 255);
    little.caption = Msg("optLittle", "Little Endian");
    little.help = Msg("optLittle",
                      "Selecting this option will treat the word at the starting address as the low word.");
    little.accessibleDescription = little.help;
    little.tab = 26;
    out.push_back(little);
    ControlSpec types = Caption("lblTypes", "Frame1", Message{}, 240, 960, 3255, 2265);
    types.face = Face::Listing8;
    types.help = kDefaultHelp;
    types.accessibleName = Msg("lblTypes", "Data type representation");
    out.push_back(types);

    ControlSpec status = Caption("lblStatus", "", kDefaultHelp, 0, 6480, 8895, 255);
    status.accessibleName = Msg("lblStatus", "Status");
    out.push_back(status);
}

std::vector<ControlSpec> BuildControls() {
    std::vector<ControlSpec> out;
    out.reserve(120);
    AddSignalPanel(out);
    AddListings(out);
    return out;
}

std::vector<MenuSpec> BuildMenus() {
    MenuItemSpec languages{"mnuViewLanguage", Msg("mnuViewLanguage", "&Language"), "", true, false,
                           false, {}};
    for (const std::string& code : Languages()) {
        // Each language is named in itself, whatever the window speaks.
        MenuItemSpec item{"mnuLanguage(" + code + ")", Raw(LanguageName(code).data()), "", true,
                          true, true, {}};
        languages.items.push_back(item);
    }
    // The exercises: built-in ones in course order between Open and Restart.
    // Browsers keep Ctrl+O and F5 for themselves.
    std::vector<MenuItemSpec> exercises{
        {"mnuExerciseOpen", Msg("mnuExerciseOpen", "&Open Exercise File..."), "Ctrl+O", false, false, false, {}}};
    for (std::size_t i = 0; i < BuiltinExercises().size(); ++i) {
        MenuItemSpec item{"mnuExerciseBuiltin(" + std::to_string(i) + ")", Message{}, "", true, true, false, {}};
        item.builtin = static_cast<int>(i);
        exercises.push_back(item);
    }
    exercises.push_back(
        {"mnuExerciseRestart", Msg("mnuExerciseRestart", "&Restart Exercise"), "F5", false, false, false, {}});
    exercises.push_back({"mnuExerciseClose", Msg("mnuExerciseClose", "&Close Exercise"), "", true, false, false, {}});
    MenuItemSpec copyLink{"mnuExerciseCopyLink", Msg("mnuExerciseCopyLink", "Copy Exercise &Link"), "", true, false,
                          false, {}};
    copyLink.pageOnly = true;
    exercises.push_back(copyLink);
    return {
        // The page downloads its own pristine single file: a teacher never has
        // to rely on the browser's save.
        {"mnuFile", Msg("mnuFile", "&File"),
         {{"mnuFileRestart", Msg("mnuFileRestart", "&Restart"), "", true, false, false, {}},
          {"mnuFileSavePage", Msg("mnuFileSavePage", "Save Page &As..."), "", true, false, false, {}, -1, true},
          {"mnuFileExit", Msg("mnuFileExit", "&Exit"), "", true, false, false, {}}}},
        // Keyboard parity for the two double-click gestures.
        {"mnuEdit", Msg("mnuEdit", "&Edit"),
         {{"mnuEditEnter", Msg("mnuEditEnter", "&Enter Data Word..."), "F2", true, false, false, {}},
          {"mnuEditCopyRead", Msg("mnuEditCopyRead", "&Copy Read to Input"), "Ctrl+R", true, false,
           false, {}}}},
        // Browsers keep Ctrl+T for a new tab.
        {"mnuView", Msg("mnuView", "&View"),
         {{"mnuViewTiming", Msg("mnuViewTiming", "&Timing Diagram"), "Ctrl+T", false, true, false, {}},
          languages}},
        {"mnuExercise", Msg("mnuExercise", "E&xercises"), exercises},
        {"mnuHelp", Msg("mnuHelp", "&Help"),
         {{"mnuHelpAbout", Msg("mnuHelpAbout", "&About..."), "", true, false, false, {}}}},
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
        o.message("accessibleName", c.accessibleName, c.arg);
        o.message("accessibleDescription", c.accessibleDescription, c.arg);
        o.message("tooltip", c.tooltip, c.arg);
        if (c.colour != Colour::Default) o.text("colour", c.colour == Colour::Blue ? "blue" : "black");
        if (c.face != Face::Dialog) o.text("face", FaceName(c.face));
        if (c.textLimit >= 0) o.number("textLimit", c.textLimit);
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
    static const WindowSpec kWindow{"frmMain", Raw("Quorin Bitwell"), 8895, 6765, kDefaultHelp};
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

const std::vector<MenuSpec>& MainWindowMenus() {
    static const std::vector<MenuSpec> kMenus = BuildMenus();
    return kMenus;
}

std::string MenuText(const MenuItemSpec& item) {
    if (item.builtin < 0) return Text(item.caption);
    const auto& course = BuiltinExercises();
    if (static_cast<std::size_t>(item.builtin) >= course.size()) return {};
    const BuiltinExercise& b = course[static_cast<std::size_t>(item.builtin)];
    Exercise exercise;
    ExerciseError error;
    if (!ParseExercise(b.bytes, b.name, exercise, error)) return {};
    const int n = item.builtin + 1;
    std::string text = n < 10 ? "&" + std::to_string(n) : std::to_string(n / 10) + "&" + std::to_string(n % 10);
    text += ' ';
    for (const char c : exercise.Title()) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

const ExerciseWindowTexts& ExerciseWindow() {
    static const ExerciseWindowTexts kTexts{
        Msg("frmExercise", "Exercise"),
        Msg("frmExercise", "Goals"),
        Msg("frmExercise", "Hint"),
        Msg("frmExercise", "Show &Hint"),
        Msg("frmExercise", "&Start Over"),
        Msg("frmExercise", "Exercise files (*.bwx)"),
        Msg("MsgBox", "Restart Confirmation"),
        Msg("MsgBox", "Power the chip up afresh? The memory's words will be lost."),
    };
    return kTexts;
}

const WindowSpec& AboutWindow() {
    static const WindowSpec kWindow{"frmAbout", Dialogs().aboutTitle, 6015, 2670, Message{}, 2340, 1935};
    return kWindow;
}

const std::vector<ControlSpec>& AboutWindowControls() {
    static const std::vector<ControlSpec> kControls = [] {
        const DialogTexts& d = Dialogs();
        ControlSpec name = Caption("Label1", "", d.aboutName, 1680, 240, 3015, 375);
        name.face = Face::Listing14;
        ControlSpec text = Caption("Label2", "", d.aboutText, 240, 720, 5535, 615);
        text.wrap = true;
        ControlSpec notice = Caption("Label3", "", d.aboutNotice, 120, 1440, 5775, 495);
        notice.wrap = true;
        ControlSpec ok = Make("cmdOK", ControlKind::Button, "", 2400, 2160, 1260, 345);
        ok.caption = d.ok;
        ok.tab = 0;
        return std::vector<ControlSpec>{name, text, notice, ok};
    }();
    return kControls;
}

const DialogTexts& Dialogs() {
    static const DialogTexts kTexts{
        Msg("buttons", "OK"),
        Msg("buttons", "Cancel"),
        Msg("buttons", "&Yes"),
        Msg("buttons", "&No"),
        Msg("InputBox", "Memory Input Data"),
        Msg("InputBox", "Please enter a hexadecimal value (truncated to 4 digits):"),
        Msg("MsgBox", "Data Input Error"),
        Msg("MsgBox", "Exit Confirmation"),
        Msg("MsgBox", "Are you sure that you want to exit?"),
        Msg("frmAbout", "About Quorin Bitwell"),
        Raw("Quorin Bitwell"),
        Msg("frmAbout",
            "This program is used to demonstrate the operation of a simple memory device and the "
            "representation of various common data types in memory."),
        Msg("frmAbout",
            "Quorin Bitwell %1, made by the Bitwell developers for the classroom. Free to use, copy "
            "and share."),
        Msg("Ended", "Quorin Bitwell has ended."),
        Msg("Ended", "Start Again"),
        Msg("lblCannotStart",
            "Quorin Bitwell could not start here: this site's security policy or this browser "
            "stopped the page's script or its WebAssembly core. Download the page and open the "
            "file from your own disk, or ask the site to allow the page's script and style hashes "
            "and 'wasm-unsafe-eval' in its Content-Security-Policy."),
    };
    return kTexts;
}

const CommandLineTexts& CommandLine() {
    static const CommandLineTexts kTexts{
        Msg("main", "Drive a static memory chip by hand and watch it work."),
        Msg("main", "Displays this help."),
        Msg("main", "Displays version information."),
        Msg("main", "Shows the program in this language: %1."),
        Msg("main", "Checks an exercise file and exits."),
        Msg("main", "An exercise file (.bwx) to open."),
        Msg("main", "Unexpected argument '%1'."),
        Msg("main", "Unknown language '%1'. The languages are: %2."),
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
