#pragma once

#include <QString>

// Facts about the program that several windows show.
namespace appinfo {

// The application title: window captions, message-box titles, the settings store's name.
QString title();
// "1.0.0": major, minor and revision in plain decimal.
QString versionText();
// The platform the build is for, as the splash window names it.
QString platformName();
// Where requests and fault reports go; set when the program is built.
QString contactAddress();
// The one-line notice on passing the program on, shown by the splash window and the About box.
QString licenceNotice();

} // namespace appinfo
