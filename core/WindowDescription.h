#pragma once

// The one description of what Bitwell shows: every control of the main
// window with its kind, place, focus order, texts and design-time state, the
// menus, and the texts of the dialogs. The Qt window and the web page both
// build themselves from it; neither holds a text, a position or an access
// key of its own.
//
// Places and sizes are in twips (15 twips are one pixel at 96 dpi), from the
// top-left corner of the control's container: the window's client area for
// the groups and the status line, the group's outer corner for the rest.
// Texts are English; Text() gives them in the current language of the
// catalogue (core/Catalogue.h).

#include <string>
#include <string_view>
#include <vector>

#include "core/SignalPanel.h"

namespace bitwell {

// An English text and the context it is translated in. A text with no
// context is never translated (signal names, hex digits, the title).
struct Message {
    const char* context = nullptr;
    const char* id = nullptr;
    bool empty() const { return id == nullptr; }
};
// Marks a text for extraction into po/bitwell.pot (see Catalogue.h).
constexpr Message Msg(const char* context, const char* id) { return {context, id}; }
// A text that stays as it is in every language.
constexpr Message Raw(const char* id) { return {nullptr, id}; }

// A text that must be given. It has no default, so a designated initialiser
// that leaves it out does not compile, where a plain Message would silently
// be empty. Give Message{} where an entry has no text of its own.
struct RequiredMessage : Message {
    constexpr RequiredMessage(Message m) : Message(m) {}
};

// The message in the current language with %1 filled by `arg` when one is
// given; "" for an empty message.
std::string Text(const Message& m, std::string_view arg = {});

enum class ControlKind {
    Group,       // framed box with its title on the top line
    Caption,     // static text
    Switch,      // vertical two-position switch, 1 at the top
    Lamp,        // read bit: fills its column while lit
    LampBack,    // the lower half of a read column, always shown
    LampBorder,  // the outline of a read column, always shown
    Line,        // left, top, width, height hold x1, y1, x2, y2
    Option,      // one of the two word-order option buttons
    Button,      // a push button
};

enum class Colour { Default, Black, Blue };
// Listings and the About window's name: fixed pitch, bold, at 12, 8.25 and
// 14.25 points.
enum class Face { Dialog, Listing12, Listing8, Listing14 };

// Built with designated initialisers: the fields with no default (name,
// kind and place) are the ones every control gives.
struct ControlSpec {
    std::string name;      // objectName and data-name, e.g. "sigData(3)"
    ControlKind kind;
    std::string parent{};  // "" for the client area, else the group's name
    int left, top, width, height;
    int tab = -1;        // place in the focus order, 0 first; -1: no focus
    int arg = -1;        // the bit number that fills %1 in the texts, or -1
    Message caption{};   // caption, group title or option text
    Message help{};      // hover help; empty where the pointer leaves the status line be
    Message accessibleName{};
    Message accessibleDescription{};
    Message tooltip{};
    Colour colour = Colour::Default;
    Face face = Face::Dialog;
    // Twips from the left edge where the caption's text must stop, because
    // the value caption that follows covers the rest of its box; -1 none.
    int textLimit = -1;
    // Design time: a switch's Value, 1 for the selected option and a lamp
    // that is shown.
    int value = 0;
    bool wrap = false;  // breaks its text between words to fit its width
    // A control switch: its value is also said in words (kLevelHigh at 1,
    // kLevelLow at 0) after its accessible description.
    bool activeLow = false;
    // Drawn for the eye only (the level marks): hidden from assistive
    // technology, which reads each switch's value instead.
    bool decorative = false;
};

struct WindowSpec {
    const char* name;       // "frmMain"
    RequiredMessage title;  // "Quorin Bitwell", never translated
    int width, height;      // the client area, twips
    Message defaultHelp{};  // the status line's text at design time and over
                            // the bare client area and the two groups
    int left = 0, top = 0;  // where it opens on the screen, twips; 0, 0: centred
};

struct MenuItemSpec {
    std::string name;                   // "mnuEditEnter", "mnuLanguage(de)"
    RequiredMessage caption;            // "&" before the access key; empty for a built-in exercise
    std::string shortcut{};             // "F2", "Ctrl+R", "" none
    bool shortcutOnPage = true;         // false where browsers keep the keys
    bool checkable = false;
    bool exclusive = false;             // one of a group of which one is checked
    std::vector<MenuItemSpec> items{};  // a submenu's items
    int builtin = -1;                   // a built-in exercise's index: MenuText gives its title
    bool pageOnly = false;              // only the web page has it (Save Page As, Copy Exercise Link)
    bool startsGroup = false;           // a separator line stands above it
};

struct MenuSpec {
    std::string name;  // "mnuFile"
    RequiredMessage caption;
    std::vector<MenuItemSpec> items;
};

const WindowSpec& MainWindow();
// Every control, in the order it is made: lowest first where they overlap.
const std::vector<ControlSpec>& MainWindowControls();
// nullptr for a name that is none of them.
const ControlSpec* FindControl(std::string_view name);

// Whether a caption with a textLimit draws its text ending at the limit,
// right-aligned in its unchanged box, rather than from its left edge: in
// the current language, every one but English, whose titles were placed
// by hand to meet their values.
bool TextEndsAtLimit();
// The name of the switch of control signal `c`: "sigCE" for Control::CE.
std::string LevelSwitchName(Control c);
const std::vector<MenuSpec>& MainWindowMenus();
// An item's caption in the current language. A built-in exercise is its
// access key and its title in that language (with any "&" of the title
// doubled, so that it never takes the access key): "&1 " to "&9 ", "1&0 ",
// then from the eleventh on "&B ", "&D ", … the letters in alphabetical
// order that no other item of the menu takes in that language. The digit
// is the key's place on the keyboard's top row, whatever it types there.
std::string MenuText(const MenuItemSpec& item);

// The About window: its title, size and place, and its controls (the name,
// the description, the notice whose %1 is the version, and cmdOK). A
// wrapped caption is one whose text breaks between words within its width.
const WindowSpec& AboutWindow();
const std::vector<ControlSpec>& AboutWindowControls();

// The state words of the read bits and of the control switches.
extern const Message kLampLit;         // "lit, 1"
extern const Message kLampDark;        // "dark, 0"
// What an action did (%1) and, when it finished the exercise, "Done in N
// actions." (%2), heard as one announcement.
extern const Message kActionAndDone;
extern const Message kLevelHigh;       // "HIGH, inactive"
extern const Message kLevelLow;        // "LOW, active"

// Dialogs. Button texts are our own, so that both front ends say the same.
struct DialogTexts {
    RequiredMessage ok, cancel, yes, no;
    RequiredMessage inputTitle, inputPrompt;
    RequiredMessage errorTitle;
    RequiredMessage exitTitle, exitQuestion;
    RequiredMessage aboutTitle, aboutName, aboutText, aboutNotice;  // notice: %1 version
    RequiredMessage ended, startAgain;  // the page's screen after a confirmed exit
    // The page's notice while its core has not started, and stays so where a
    // site's policy or an old browser stops the script or the WebAssembly.
    RequiredMessage cannotStart;
    // The page's notice in its place where a site's policy blocks only the
    // page's style, so that the window cannot be drawn.
    RequiredMessage cannotStyle;
};
const DialogTexts& Dialogs();

// The exercise window and its dialogs. The window's own texts (title, task,
// goals, hints, result) come from the exercise and its session.
struct ExerciseWindowTexts {
    RequiredMessage title;                          // the window's and the error box's title, "Exercise"
    RequiredMessage goals, hint;                    // accessible names of lstGoals and lblExerciseHint
    RequiredMessage hintButton, restartButton;      // cmdHint, cmdExerciseRestart
    RequiredMessage filter;                         // the file dialog's filter
    RequiredMessage restartTitle, restartQuestion;  // File, Restart's question
    // On a course site: lblLearner ("Learner: %1", the site's name for the
    // learner), and lblLmsStatus while the site refuses what the page sends.
    RequiredMessage learner, lmsStatus;
    // The page's Export for Course Site and Save Attempt: the kind asked
    // for (a web page, beside the two SCORM versions named as they are),
    // and the learner's name asked once.
    RequiredMessage exportTitle, exportWebPage, learnerName;
    RequiredMessage copyLink;                       // the page's box's title over a link the clipboard refused
};
const ExerciseWindowTexts& ExerciseWindow();

// The desktop's dialogs for a class's results: exporting the open exercise
// for a course site, and saving the student's attempt.
struct CourseSiteTexts {
    RequiredMessage exportTitle;                  // the save dialog's and its error box's title
    RequiredMessage scorm12, scorm2004, webPage;  // its file types, each with its pattern
    RequiredMessage noPage;                       // no built web page to export from
    RequiredMessage attemptTitle, attemptFilter;  // Save Attempt's dialog
    RequiredMessage learnerTitle, learnerPrompt;  // the learner's name, asked once
    RequiredMessage cannotWrite;                  // %1 the file
};
const CourseSiteTexts& CourseSite();

// The command line's own texts (the program's usage and its errors).
struct CommandLineTexts {
    RequiredMessage description, help, version, language;  // language: %1 the codes
    RequiredMessage checkExercise, file;
    RequiredMessage unexpected;       // %1 the argument
    RequiredMessage unknownLanguage;  // %1 the code, %2 the codes we have
};
const CommandLineTexts& CommandLine();

// The whole description in the current language as one JSON object, for
// the web page: {"window":…, "controls":[…], "menus":[…], "dialogs":{…}}.
// Texts are translated and %1 filled; places stay in twips. A help text
// that names the mouse's ways ("Hover…", "Double click…") comes with
// "touchHelp", its words for a touch screen, beside "help" (the window's
// and a control's); the desktop never shows those.
std::string DescriptionJson(std::string_view version);
// `text` as a JSON string, quotes included, for other JSON the page reads.
std::string JsonString(std::string_view text);

// The points of the font a face is drawn in: the dialog font's 8 and the
// listings' 12, 8.25 and 14.25, for the front ends' fonts.
double FacePoints(Face face);

}  // namespace bitwell
