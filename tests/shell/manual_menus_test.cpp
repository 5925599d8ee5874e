// The manual (resources/manual/index.html) and the README name commands by
// their menu paths ("Calculate > Max & min results"); every path they name
// in bold must be a path of the program's menus, as a user reads them
// (without the mnemonic marks, the key after the tab and the "...").
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/shell/shellids.h"
#include "platform/ui/core/afxui.h"

namespace
{

std::string SourceFile(const std::string& relative)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    std::ifstream in(std::string(root ? root : ".") + "/" + relative);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A menu text as it reads: "&Print...\tCtrl+P" is "Print", "Max && min" is
// "Max & min".
std::string Shown(const CString& text)
{
    std::string s(text.GetString());
    if (const auto tab = s.find('\t'); tab != std::string::npos)
        s.erase(tab);
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&')
                out += s[++i];
            continue;
        }
        out += s[i];
    }
    while (!out.empty() && (out.back() == '.' || out.back() == ' '))
        out.pop_back();
    return out;
}

void CollectPaths(const AfxMenu& menu, const std::string& prefix, std::set<std::string>& paths)
{
    for (const AfxMenuEntry& entry : menu) {
        if (entry.bSeparator)
            continue;
        const std::string path = prefix + Shown(entry.item.strText);
        paths.insert(path);
        if (!entry.popup.empty())
            CollectPaths(entry.popup, path + " > ", paths);
    }
}

// Every path of the main frame's menu and of the six document types'.
std::set<std::string> ProgramPaths()
{
    std::set<std::string> paths;
    for (UINT id : {IDR_MAINFRAME, IDR_PLATE, IDR_CONSTR_PLATE, IDR_MEMBRANE, IDR_CONSTR_MEMBRANE,
                    IDR_SHELL, IDR_CONSTR_SHELL}) {
        CMenu menu;
        EXPECT_TRUE(menu.LoadMenu(id)) << id;
        CollectPaths(menu.m_entries, "", paths);
    }
    return paths;
}

std::string Unescaped(std::string s)
{
    const std::pair<const char*, const char*> entities[] = {{"&gt;", ">"}, {"&lt;", "<"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
            s.replace(at, std::string(from).size(), to);
    return std::regex_replace(s, std::regex(R"(\s+)"), " ");
}

// The bold texts that hold " > ": <b>..</b> in HTML, **..** in Markdown.
std::vector<std::string> NamedPaths(const std::string& text, const std::regex& bold)
{
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), bold), end; it != end; ++it) {
        const std::string inner = Unescaped((*it)[1].str());
        if (inner.find(" > ") != std::string::npos)
            found.push_back(inner);
    }
    return found;
}

TEST(ManualMenus, EveryMenuPathTheManualAndTheReadmeNameIsTheProgramsOwn)
{
    const std::set<std::string> program = ProgramPaths();
    ASSERT_TRUE(program.count("Calculate > Max & min results"));
    ASSERT_TRUE(program.count("File > Print"));
    ASSERT_TRUE(program.count("View > 3D view > Two-dimensional"));
    // The reader of paths tells a wrong one: the materials are under Model.
    EXPECT_FALSE(program.count("Calculate > Materials"));
    EXPECT_TRUE(program.count("Model > Materials"));

    const struct {
        const char* file;
        std::regex bold;
        std::size_t least; // paths the file names at least
    } sources[] = {
        {"resources/manual/index.html", std::regex(R"(<b>([\s\S]*?)</b>)"), 10},
        {"README.md", std::regex(R"(\*\*([\s\S]*?)\*\*)"), 5},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.file);
        const std::string text = SourceFile(source.file);
        ASSERT_FALSE(text.empty());
        const std::vector<std::string> named = NamedPaths(text, source.bold);
        EXPECT_GE(named.size(), source.least);
        for (const std::string& path : named)
            EXPECT_TRUE(program.count(path)) << "\"" << path << "\" is no menu path of the program";
    }
}

} // namespace
