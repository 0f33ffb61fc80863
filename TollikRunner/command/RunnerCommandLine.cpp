#include "RunnerCommandLine.h"

#include <limits>

namespace tollik::runner {
namespace {

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

class Reader {
public:
    explicit Reader(std::u16string_view text) : text_(text) {}

    bool AtEnd() const { return position_ == text_.size(); }

    // Returns how many blanks were skipped.
    std::size_t SkipBlanks() {
        const std::size_t start = position_;
        while (!AtEnd() && IsBlank(text_[position_])) ++position_;
        return position_ - start;
    }

    // The program name: quoted up to the next quote, or up to the first blank.
    void SkipProgramName() {
        if (!AtEnd() && text_[position_] == u'"') {
            const std::size_t close = text_.find(u'"', position_ + 1);
            position_ = close == std::u16string_view::npos ? text_.size() : close + 1;
        }
        while (!AtEnd() && !IsBlank(text_[position_])) ++position_;
    }

    bool Quoted(std::u16string& field, CommandLineProblem notQuoted, CommandLineProblem notClosed,
                CommandLineProblem& problem) {
        if (AtEnd() || text_[position_] != u'"') {
            problem = notQuoted;
            return false;
        }
        const std::size_t close = text_.find(u'"', position_ + 1);
        if (close == std::u16string_view::npos) {
            problem = notClosed;
            return false;
        }
        field.assign(text_.substr(position_ + 1, close - position_ - 1));
        position_ = close + 1;
        return true;
    }

    bool Integer(std::int32_t& value, CommandLineProblem notNumber, ParsedCommandLine& parsed) {
        const std::size_t start = position_;
        while (!AtEnd() && !IsBlank(text_[position_])) ++position_;
        const std::u16string_view token = text_.substr(start, position_ - start);
        if (!ToInt32(token, value)) {
            parsed.problem = notNumber;
            parsed.token.assign(token);
            return false;
        }
        return true;
    }

private:
    static bool ToInt32(std::u16string_view token, std::int32_t& value) {
        bool negative = false;
        if (!token.empty() && (token[0] == u'-' || token[0] == u'+')) {
            negative = token[0] == u'-';
            token.remove_prefix(1);
        }
        if (token.empty()) return false;
        std::int64_t magnitude = 0;
        for (const char16_t unit : token) {
            if (unit < u'0' || unit > u'9') return false;
            magnitude = magnitude * 10 + (unit - u'0');
            if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
        }
        const std::int64_t signedValue = negative ? -magnitude : magnitude;
        if (signedValue > std::numeric_limits<std::int32_t>::max()) return false;
        value = static_cast<std::int32_t>(signedValue);
        return true;
    }

    std::u16string_view text_;
    std::size_t position_ = 0;
};

}  // namespace

ParsedCommandLine ParseRunnerCommandLine(std::u16string_view commandLine) {
    using enum CommandLineProblem;
    ParsedCommandLine parsed;
    RunnerFields& f = parsed.fields;
    CommandLineProblem& problem = parsed.problem;
    Reader reader(commandLine);
    reader.SkipProgramName();
    reader.SkipBlanks();
    if (reader.AtEnd()) {
        problem = NoArguments;
        return parsed;
    }
    const auto separated = [&](CommandLineProblem nothingAfter) {
        if (reader.SkipBlanks() > 0 && !reader.AtEnd()) return true;
        problem = nothingAfter;
        return false;
    };
    if (!reader.Quoted(f.hspDirectory, HspFolderNotQuoted, HspFolderNotClosed, problem) ||
        !separated(NothingAfterHspFolder) ||
        !reader.Quoted(f.scriptPath, ScriptNotQuoted, ScriptNotClosed, problem) ||
        !separated(NothingAfterScript) || !reader.Integer(f.runMode, RunModeNotNumber, parsed) ||
        !separated(NothingAfterRunMode) ||
        !reader.Integer(f.debugWindow, DebugFlagNotNumber, parsed))
        return parsed;
    reader.SkipBlanks();
    if (!reader.AtEnd()) {
        problem = TextAfterDebugFlag;
        return parsed;
    }
    parsed.ok = true;
    return parsed;
}

}  // namespace tollik::runner
