#pragma once

// Every code that crosses between the core and the page's script, each once:
// X(group, name, value). The build writes them into the page as named
// constants (web/codes.cmake makes `const Codes = {group: {name: value}}`),
// and the bindings use them as bitwell::page::<group><name>. Values are
// plain numbers for the build to read; the bindings tie each one to the
// core's own enum with a static_assert.
#define BITWELL_PAGE_CODES(X)                                                        \
    /* A control switch, as bw_move_level takes it and Module.view.level says. */   \
    X(Level, CE, 0) X(Level, OE, 1) X(Level, WE, 2) X(Level, LB, 3) X(Level, UB, 4) \
    /* Which of the panel's value captions Module.view.text sets. */                \
    X(Text, Address, 0) X(Text, Data, 1) X(Text, Read, 2) X(Text, Contents, 3)      \
    X(Text, Types, 4)                                                                \
    /* What Module.view.exercise says happened to the session. */                   \
    X(Exercise, Changed, 0) X(Exercise, GoalsChecked, 1) X(Exercise, Done, 2)       \
    X(Exercise, Undone, 3)                                                           \
    /* What bw_enter_end made of a typed answer. */                                 \
    X(Entry, Nothing, 0) X(Entry, Word, 1) X(Entry, Invalid, 2)                     \
    /* Where the bytes given to bw_exercise_open come from. */                      \
    X(Source, File, 0) X(Source, Link, 1) X(Source, Builtin, 2)                     \
    /* A menu item's "check" in the description: a box, or one of a group. */       \
    X(Check, Box, 1) X(Check, Exclusive, 2)                                         \
    /* What bw_export makes: a web page, or a SCORM package of either version. */   \
    X(Export, WebPage, 0) X(Export, Scorm12, 1) X(Export, Scorm2004, 2)

namespace bitwell::page {
#define BITWELL_PAGE_CODE(group, name, value) inline constexpr int group##name = value;
BITWELL_PAGE_CODES(BITWELL_PAGE_CODE)
#undef BITWELL_PAGE_CODE
}  // namespace bitwell::page
