// Help requests in Windows style, and the quote cmd leaves in a path.
#include "arguments.h"

namespace corvantide::cli {

void TranslateHelpRequests(std::vector<std::string>* arguments) {
    for (std::size_t i = 1; i < arguments->size(); ++i) {
        if ((*arguments)[i] == "/?") (*arguments)[i] = "--help";
    }
}

std::string StrayQuoteMessage(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t quote = argument.find('"');
        if (quote == std::string::npos) continue;
        std::string path = argument.substr(0, quote);
        std::string rest = argument.substr(quote + 1);
        if (path.find_first_not_of(' ') == std::string::npos) {
            // The quote opens the argument ("C:\Temp\out): the path follows it.
            path = rest.substr(0, rest.find('"'));
            rest.clear();
        }
        while (!path.empty() && (path.back() == '\\' || path.back() == ' ')) path.pop_back();
        rest.erase(0, rest.find_first_not_of(' '));
        std::string message = "corvantide-sim: an argument holds a double quote: " + argument + "\n";
        message += "  In cmd, a backslash right before a closing quote (\\\") keeps the quote in the argument";
        message += rest.empty() ? std::string(".\n") : ", with all that follows it (here: " + rest + ").\n";
        message += "  Type the path without its last backslash, \"" + path + "\", or end it with two, \"" +
                   path + "\\\\\".\n";
        return message;
    }
    return {};
}

}  // namespace corvantide::cli
