// Scripted answers of the host's file dialogs and the record of every dialog shown.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

struct FileDialogAnswer {
    bool confirm = false;       // false: the user cancels
    std::filesystem::path file; // the chosen file (a relative path is taken from the sandbox root)
    UInt32 filter = 0;          // the index of the filter in force when the user confirmed
};

// Answers are taken in the order they were queued, by the file dialogs (DG::FileDialog) and the
// library-part save dialog alike; a dialog shown with none queued is cancelled.
void queueFileDialogAnswer(const FileDialogAnswer& answer);
void queueFileDialogCancel();
void queueFileDialogChoice(const std::filesystem::path& file, UInt32 filter = 0);
std::size_t pendingFileDialogAnswers();

struct FileDialogRecord {
    int type = 0; // DG::FileDialog::Type, or 'SLPD' for the library-part dialog
    std::string title;
    std::vector<std::string> filters; // the texts of the filters, in order
    std::string folder;               // the path of the folder it opened on; empty for none
    UInt32 preselected = 0;           // the filter selected when it opened
    bool option = false;              // the option of the library-part dialog
    bool scripted = false;            // an answer was queued for it
    bool confirmed = false;
};

const std::vector<FileDialogRecord>& fileDialogs();

// Used by the host's dialogs: takes the next answer (a cancel when none is queued) and records.
FileDialogAnswer answerFileDialog(FileDialogRecord record);

} // namespace sim
