#include <map>
#include <string>

#include "include/cef_command_line.h"

namespace {

// Switches are "--name" or "--name=value" (one or two dashes); the first word
// is the program; a lone "--" ends the switches.
class CommandLineImpl : public CefCommandLine {
public:
    bool IsValid() override { return true; }
    bool IsReadOnly() override { return false; }

    void InitFromArgv(int argc, const char* const* argv) override {
        switches_.clear();
        args_.clear();
        bool switches_done = false;
        for (int i = 1; i < argc && argv; ++i) {
            if (argv[i]) Take(argv[i], switches_done);
        }
    }

    void InitFromString(const CefString& command_line) override {
        switches_.clear();
        args_.clear();
        std::string text = command_line.ToString();
        bool first = true, switches_done = false;
        size_t i = 0;
        while (i < text.size()) {
            while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
            if (i >= text.size()) break;
            std::string word;
            bool quoted = false;
            for (; i < text.size(); ++i) {
                char c = text[i];
                if (c == '"') {
                    quoted = !quoted;
                } else if (!quoted && (c == ' ' || c == '\t')) {
                    break;
                } else {
                    word.push_back(c);
                }
            }
            if (first) {
                first = false;
                continue;
            }
            Take(word, switches_done);
        }
    }

    bool HasSwitches() override { return !switches_.empty(); }
    bool HasSwitch(const CefString& name) override { return switches_.count(name.ToString()) != 0; }
    CefString GetSwitchValue(const CefString& name) override {
        auto it = switches_.find(name.ToString());
        return it == switches_.end() ? CefString() : CefString(it->second);
    }
    void GetArguments(ArgumentList& arguments) override {
        arguments.clear();
        for (const std::string& a : args_) arguments.push_back(a);
    }
    void AppendSwitch(const CefString& name) override { switches_[name.ToString()] = std::string(); }
    void AppendSwitchWithValue(const CefString& name, const CefString& value) override {
        switches_[name.ToString()] = value.ToString();
    }

private:
    void Take(const std::string& word, bool& switches_done) {
        if (!switches_done && word == "--") {
            switches_done = true;
            return;
        }
        size_t dashes = word.compare(0, 2, "--") == 0 ? 2 : (word.compare(0, 1, "-") == 0 ? 1 : 0);
        if (switches_done || dashes == 0 || word.size() == dashes) {
            args_.push_back(word);
            return;
        }
        size_t eq = word.find('=');
        if (eq == std::string::npos) {
            switches_[word.substr(dashes)] = std::string();
        } else {
            switches_[word.substr(dashes, eq - dashes)] = word.substr(eq + 1);
        }
    }

    std::map<std::string, std::string> switches_;
    std::vector<std::string> args_;

    IMPLEMENT_REFCOUNTING(CommandLineImpl);
};

}  // namespace

CefRefPtr<CefCommandLine> CefCommandLine::CreateCommandLine() { return new CommandLineImpl(); }
