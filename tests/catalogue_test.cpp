// The catalogue and the window's description in every language: the
// language chosen from the system's tags, every text of the description
// translated with its placeholders and unique access keys, the listing's
// lines within the listing's width, and a round trip back to English that
// leaves every English text and the panel's state as they were.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/Panel.h"
#include "core/WindowDescription.h"

namespace bitwell {
namespace {

// Leaves English chosen, whatever a test chose.
class InEnglish : public ::testing::Test {
protected:
    void TearDown() override { SetLanguage("en"); }
};

struct PickCase {
    const char* tag;
    std::vector<std::string> preferred;
    const char* code;
};

class Pick : public ::testing::TestWithParam<PickCase> {};

TEST_P(Pick, MatchesOnTheLanguageSubtag) {
    EXPECT_EQ(PickLanguage(GetParam().preferred), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Pick,
    ::testing::Values(PickCase{"region", {"de-AT"}, "de"},
                      PickCase{"anyPortuguese", {"pt-PT"}, "pt_BR"},
                      PickCase{"barePortuguese", {"pt"}, "pt_BR"},
                      PickCase{"posixLocale", {"fr_CA.UTF-8"}, "fr"},
                      PickCase{"upperCase", {"ES-mx"}, "es"},
                      PickCase{"firstWeHave", {"zh-Hans", "ja", "es-419", "de"}, "es"},
                      PickCase{"englishFirst", {"en-GB", "de"}, "en"},
                      PickCase{"noneWeHave", {"zh", "C"}, "en"},
                      PickCase{"nothing", {}, "en"},
                      PickCase{"emptyTag", {""}, "en"}),
    [](const auto& info) { return std::string(info.param.tag); });

TEST_F(InEnglish, SetLanguageTakesOnlyCodesItHasAndChangesNothingElse) {
    ASSERT_TRUE(SetLanguage("fr"));
    for (const char* code : {"pt", "de-AT", "DE", "", "xx"}) {
        EXPECT_FALSE(SetLanguage(code)) << code;
        EXPECT_EQ(CurrentLanguage(), "fr") << code;
    }
}

struct ArgCase {
    const char* text;
    std::vector<std::string> args;
    const char* out;
};

class Args : public ::testing::TestWithParam<ArgCase> {};

TEST_P(Args, FillNumberedPlacesOnce) {
    const ArgCase& c = GetParam();
    std::vector<std::string_view> views(c.args.begin(), c.args.end());
    std::string out;
    switch (views.size()) {
        case 1: out = Arg(c.text, {views[0]}); break;
        case 2: out = Arg(c.text, {views[0], views[1]}); break;
        default: out = Arg(c.text, {}); break;
    }
    EXPECT_EQ(out, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Args,
    ::testing::Values(ArgCase{"%1 of %2", {"3", "4"}, "3 of 4"},
                      ArgCase{"%2 before %1", {"a", "b"}, "b before a"},
                      ArgCase{"no argument %1", {}, "no argument %1"},
                      ArgCase{"%3 stays", {"x"}, "%3 stays"},
                      ArgCase{"never again", {"%1"}, "never again"},
                      ArgCase{"arg %1 holds a place", {"%2"}, "arg %2 holds a place"},
                      ArgCase{"100% and %1", {"x"}, "100% and x"},
                      ArgCase{"ends in %", {"x"}, "ends in %"}));

// Every message of the description, with where it stands.
struct Place {
    std::string where;
    Message message;
};

std::vector<Place> AllMessages() {
    std::vector<Place> out;
    for (const ControlSpec& c : MainWindowControls())
        for (const Message* m : {&c.caption, &c.help, &c.accessibleName, &c.accessibleDescription,
                                 &c.tooltip})
            if (!m->empty()) out.push_back({c.name, *m});
    std::function<void(const MenuItemSpec&)> item = [&](const MenuItemSpec& i) {
        out.push_back({i.name, i.caption});
        for (const MenuItemSpec& sub : i.items) item(sub);
    };
    for (const MenuSpec& menu : MainWindowMenus()) {
        out.push_back({menu.name, menu.caption});
        for (const MenuItemSpec& i : menu.items) item(i);
    }
    const DialogTexts& d = Dialogs();
    for (const Message* m : {&d.ok, &d.cancel, &d.yes, &d.no, &d.inputTitle, &d.inputPrompt,
                             &d.errorTitle, &d.exitTitle, &d.exitQuestion, &d.aboutTitle,
                             &d.aboutName, &d.aboutText, &d.aboutNotice, &d.ended, &d.startAgain})
        out.push_back({"dialog", *m});
    const CommandLineTexts& cl = CommandLine();
    for (const Message* m : {&cl.description, &cl.help, &cl.version, &cl.language, &cl.unexpected,
                             &cl.unknownLanguage})
        out.push_back({"command line", *m});
    out.push_back({"lamp", kLampLit});
    out.push_back({"lamp", kLampDark});
    out.push_back({"level", kLevelHigh});
    out.push_back({"level", kLevelLow});
    out.push_back({"dialog", d.cannotStart});
    return out;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The access key of a caption: the character after its one "&".
std::string AccessKey(const std::string& caption) {
    const std::size_t at = caption.find('&');
    if (at == std::string::npos || at + 1 >= caption.size()) return {};
    std::size_t end = at + 2;
    while (end < caption.size() && (static_cast<unsigned char>(caption[end]) & 0xC0) == 0x80) ++end;
    std::string key = caption.substr(at + 1, end - at - 1);
    if (key.size() == 1) key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
    return key;
}

class EveryLanguage : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { ASSERT_TRUE(SetLanguage(GetParam())); }
    void TearDown() override { SetLanguage("en"); }
};

// The languages a translator wrote.
class Translated : public EveryLanguage {};

TEST_P(Translated, TranslatesEveryTextWithItsPlaceholdersAndAccessKey) {
    for (const Place& p : AllMessages()) {
        if (!p.message.context) continue;  // stays as it is everywhere
        const std::string english = p.message.id;
        const std::string text = Lookup(p.message.context, p.message.id);
        SCOPED_TRACE(p.where + ": " + english);
        EXPECT_FALSE(text.empty());
        for (const char* place : {"%1", "%2"})
            EXPECT_EQ(Count(text, place), Count(english, place)) << text;
        EXPECT_EQ(Count(text, "&"), Count(english, "&")) << text;
        if (Count(english, "&") == 1) {
            EXPECT_FALSE(AccessKey(text).empty()) << text;
        }
    }
}

void ExpectUniqueKeys(const std::vector<std::string>& captions, const std::string& where) {
    std::set<std::string> keys;
    for (const std::string& caption : captions) {
        const std::string key = AccessKey(caption);
        if (key.empty()) continue;
        EXPECT_TRUE(keys.insert(key).second) << where << ": '" << key << "' twice, in " << caption;
    }
}

TEST_P(EveryLanguage, AccessKeysAreUniqueWithinEachMenuAndDialog) {
    std::vector<std::string> bar;
    std::function<void(const std::string&, const std::vector<MenuItemSpec>&)> menu =
        [&](const std::string& where, const std::vector<MenuItemSpec>& items) {
            std::vector<std::string> captions;
            for (const MenuItemSpec& i : items) {
                captions.push_back(Text(i.caption));
                if (!i.items.empty()) menu(i.name, i.items);
            }
            ExpectUniqueKeys(captions, where);
        };
    for (const MenuSpec& m : MainWindowMenus()) {
        bar.push_back(Text(m.caption));
        menu(m.name, m.items);
    }
    ExpectUniqueKeys(bar, "menu bar");
    ExpectUniqueKeys({Text(Dialogs().yes), Text(Dialogs().no)}, "exit confirmation");
}

std::size_t Characters(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The listing's box holds 32 characters of its fixed-pitch face (217 pixels
// at 6.6 pixels a character): each line must fit with the longest value it
// can show.
TEST_P(EveryLanguage, TypesListingLinesFitWithTheirLongestValues) {
    const std::size_t width = 32;
    WordStore words;
    for (int i = 0; i < 16; ++i) words[static_cast<std::size_t>(i)] = "FFFF";
    // -128, -32768, -2147483648; then the float's longest, -1.175494E-38.
    for (const auto& [high, low] : {std::pair{"8000", "FF80"}, std::pair{"8000", "8000"},
                                    std::pair{"8080", "0000"}, std::pair{"8000", "0001"}}) {
        words[0] = high;
        words[1] = low;
        for (const char* address : {"0", "F"}) {
            const std::string listing =
                TypesListing(words, address[0] == 'F' ? 15 : 0, address, true);
            std::size_t start = 0;
            for (std::size_t end; (end = listing.find("\r\n", start)) != std::string::npos;
                 start = end + 2) {
                const std::string line = listing.substr(start, end - start);
                EXPECT_LE(Characters(line), width) << line;
            }
        }
    }
}

TEST_P(EveryLanguage, RoundTripToEnglishLeavesTextsAndStateAsTheyWere) {
    SetLanguage("en");
    std::vector<std::string> before;
    for (const Place& p : AllMessages()) before.push_back(Text(p.message));
    Panel panel;
    panel.Form_Load();
    panel.MoveAddressBit(2, 1);
    panel.EditDataText("BEEF");
    for (const Control c : {Control::UB, Control::LB, Control::WE, Control::CE}) panel.MoveLevel(c, 0);
    panel.ChooseOrder(false);
    const std::string types = panel.typesText();
    const std::string contents = panel.contentsText();
    const std::size_t steps = panel.trace().size();
    const long runs = panel.device().updateMemoryRuns();

    ASSERT_TRUE(SetLanguage(GetParam()));
    panel.Retranslate();
    EXPECT_EQ(panel.contentsText(), contents);
    if (GetParam() != "en") {
        EXPECT_NE(panel.typesText(), types);
    }
    ASSERT_TRUE(SetLanguage("en"));
    panel.Retranslate();

    std::vector<std::string> after;
    for (const Place& p : AllMessages()) after.push_back(Text(p.message));
    EXPECT_EQ(after, before);
    EXPECT_EQ(panel.typesText(), types);
    EXPECT_EQ(panel.contentsText(), contents);
    EXPECT_EQ(panel.trace().size(), steps);
    EXPECT_EQ(panel.device().updateMemoryRuns(), runs);
    EXPECT_EQ(panel.dataText(), "BEEF");
    EXPECT_EQ(panel.addressText(), "4");
    EXPECT_FALSE(panel.bigEndian());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryLanguage, ::testing::ValuesIn(Languages()),
                         [](const auto& info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Catalogue, Translated,
                         ::testing::ValuesIn(std::vector<std::string>(Languages().begin() + 1,
                                                                      Languages().end())),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace bitwell
