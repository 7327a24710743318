// HelpCallScanner.cpp - a token-level reading of C++ sources: comments and
// literals are blanked first, so that a HELP_KEY or IDS_ name in a comment
// or a text counts for nothing.
#include "HelpCallScanner.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

bool IsWordChar(char c)
{
    return std::isalnum((unsigned char)c) || c == '_';
}

// The text with comments, string and character literals replaced by blanks;
// line breaks and offsets stay as they were.
std::string CodeOnly(const std::string& text)
{
    std::string code = text;
    size_t i = 0, n = text.size();
    auto blank = [&](size_t from, size_t to) {
        for (size_t k = from; k < to && k < n; ++k)
            if (code[k] != '\n')
                code[k] = ' ';
    };
    while (i < n) {
        if (text.compare(i, 2, "//") == 0) {
            size_t end = text.find('\n', i);
            end = end == std::string::npos ? n : end;
            blank(i, end);
            i = end;
        } else if (text.compare(i, 2, "/*") == 0) {
            size_t end = text.find("*/", i + 2);
            end = end == std::string::npos ? n : end + 2;
            blank(i, end);
            i = end;
        } else if (text[i] == '"' || text[i] == '\'') {
            char quote = text[i];
            size_t k = i + 1;
            while (k < n && text[k] != quote && text[k] != '\n')
                k += text[k] == '\\' ? 2 : 1;
            size_t end = std::min(n, k + 1);
            blank(i, end);
            i = end;
        } else {
            ++i;
        }
    }
    return code;
}

// Positions of the identifier `word` standing alone in `code`.
std::vector<size_t> FindWord(const std::string& code, const std::string& word)
{
    std::vector<size_t> hits;
    for (size_t at = code.find(word); at != std::string::npos; at = code.find(word, at + 1)) {
        bool before = at > 0 && IsWordChar(code[at - 1]);
        bool after = at + word.size() < code.size() && IsWordChar(code[at + word.size()]);
        if (!before && !after)
            hits.push_back(at);
    }
    return hits;
}

void CollectIds(const std::string& code, size_t from, size_t to, std::set<std::string>& ids)
{
    for (size_t at = code.find("IDS_", from); at != std::string::npos && at < to;
         at = code.find("IDS_", at + 1)) {
        if (at > 0 && IsWordChar(code[at - 1]))
            continue;
        size_t end = at;
        while (end < code.size() && IsWordChar(code[end]))
            ++end;
        ids.insert(code.substr(at, end - at));
    }
}

size_t SkipBlanksBack(const std::string& code, size_t at) // at: one past the end
{
    while (at > 0 && std::isspace((unsigned char)code[at - 1]))
        --at;
    return at;
}

// The name of the function whose body holds `at`, or "" at file scope.
std::string EnclosingFunction(const std::string& code, size_t at)
{
    int depth = 0;
    for (size_t i = at; i-- > 0;) {
        if (code[i] == '}') {
            ++depth;
        } else if (code[i] == '{') {
            if (depth > 0) {
                --depth;
                continue;
            }
            // An opening brace around `at`: a function's when ") [qualifiers]" comes before it.
            size_t end = SkipBlanksBack(code, i);
            while (end > 0 && IsWordChar(code[end - 1])) { // const, override, noexcept
                size_t word = end;
                while (word > 0 && IsWordChar(code[word - 1]))
                    --word;
                end = SkipBlanksBack(code, word);
            }
            if (end == 0 || code[end - 1] != ')')
                continue; // a class, namespace, else or initialiser brace: look further out
            int parens = 0;
            size_t open = end - 1;
            for (;; --open) {
                if (code[open] == ')')
                    ++parens;
                else if (code[open] == '(' && --parens == 0)
                    break;
                if (open == 0)
                    return "";
            }
            size_t nameEnd = SkipBlanksBack(code, open);
            size_t name = nameEnd;
            while (name > 0 && IsWordChar(code[name - 1]))
                --name;
            std::string word = code.substr(name, nameEnd - name);
            static const std::set<std::string> statements = {"if", "for", "while", "switch",
                                                             "catch"};
            if (word.empty() || statements.count(word))
                continue;
            return word;
        }
    }
    return "";
}

// IDS_ names in the argument lists of every call of `function`.
void CollectCallArguments(const std::vector<std::string>& codes, const std::string& function,
                          std::set<std::string>& ids)
{
    for (const std::string& code : codes) {
        for (size_t at : FindWord(code, function)) {
            size_t open = at + function.size();
            while (open < code.size() && std::isspace((unsigned char)code[open]))
                ++open;
            if (open >= code.size() || code[open] != '(')
                continue;
            int parens = 0;
            size_t close = open;
            for (; close < code.size(); ++close) {
                if (code[close] == '(')
                    ++parens;
                else if (code[close] == ')' && --parens == 0)
                    break;
            }
            CollectIds(code, open, close, ids);
        }
    }
}

} // namespace

std::vector<HelpCallScanner::Request> HelpCallScanner::Scan(const std::vector<Source>& sources)
{
    std::vector<std::string> codes;
    for (const Source& source : sources)
        codes.push_back(CodeOnly(source.text));

    std::vector<Request> requests;
    for (size_t s = 0; s < sources.size(); ++s) {
        const std::string& code = codes[s];
        for (size_t at : FindWord(code, "HELP_KEY")) {
            size_t start = code.find_last_of(";{}", at);
            start = start == std::string::npos ? 0 : start + 1;
            // The argument list that holds HELP_KEY: only the request's own
            // arguments, not a failure message the same statement shows.
            size_t open = at, close = at;
            for (int parens = 0; open > start; --open) {
                if (code[open - 1] == ')')
                    ++parens;
                else if (code[open - 1] == '(' && parens-- == 0)
                    break;
            }
            for (int parens = 0; close < code.size() && code[close] != ';'; ++close) {
                if (code[close] == '(')
                    ++parens;
                else if (code[close] == ')' && parens-- == 0)
                    break;
            }

            std::set<std::string> ids;
            CollectIds(code, open, close, ids);
            if (ids.empty()) {
                std::string function = EnclosingFunction(code, start);
                if (!function.empty())
                    CollectCallArguments(codes, function, ids);
            }
            Request request;
            request.path = sources[s].path;
            request.line = 1 + (int)std::count(code.begin(), code.begin() + at, '\n');
            request.ids.assign(ids.begin(), ids.end());
            requests.push_back(request);
        }
    }
    return requests;
}
