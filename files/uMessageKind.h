#pragma once
// The kinds of message page: what the file code hands the windows with a
// message, and what the page windows show it as: an error page (modal, in the
// message window), a data file's comments (in the comment window) and an
// information page (modal, in the message window).
enum : int { HtmlKindError = 0, HtmlKindComment = 2, HtmlKindInformation = 3 };
