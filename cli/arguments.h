// The command line as the user meant it, before it is parsed.
#pragma once

#include <string>
#include <vector>

namespace corvantide::cli {

// "/?", as Windows programs take it, asks for the help as "--help" does.
void TranslateHelpRequests(std::vector<std::string>* arguments);

// The message for an argument that holds a double quote, empty when none
// does. cmd keeps the closing quote of "C:\Temp\out\" (the backslash escapes
// it) and runs the rest of the line into the same argument, so such an
// argument is a path the user typed with a trailing backslash; no file name
// on Windows holds a quote.
std::string StrayQuoteMessage(const std::vector<std::string>& arguments);

}  // namespace corvantide::cli
