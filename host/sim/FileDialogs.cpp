#include "sim/FileDialogs.h"

#include "sim/Sim.h"

#include <deque>

namespace sim {
namespace {

struct DialogState {
    std::deque<FileDialogAnswer> answers;
    std::vector<FileDialogRecord> shown;
};

DialogState& state() {
    static DialogState* instance = new DialogState;
    return *instance;
}

const bool registered = registerReset([] {
    state().answers.clear();
    state().shown.clear();
});

} // namespace

void queueFileDialogAnswer(const FileDialogAnswer& answer) {
    state().answers.push_back(answer);
}

void queueFileDialogCancel() {
    queueFileDialogAnswer(FileDialogAnswer{});
}

void queueFileDialogChoice(const std::filesystem::path& file, UInt32 filter) {
    queueFileDialogAnswer(FileDialogAnswer{true, file, filter});
}

std::size_t pendingFileDialogAnswers() {
    return state().answers.size();
}

const std::vector<FileDialogRecord>& fileDialogs() {
    return state().shown;
}

FileDialogAnswer answerFileDialog(FileDialogRecord record) {
    DialogState& s = state();
    FileDialogAnswer answer;
    record.scripted = !s.answers.empty();
    if (record.scripted) {
        answer = s.answers.front();
        s.answers.pop_front();
        if (answer.confirm && answer.file.is_relative()) {
            answer.file = sandboxRoot() / answer.file;
        }
    }
    record.confirmed = answer.confirm;
    s.shown.push_back(std::move(record));
    return answer;
}

} // namespace sim
