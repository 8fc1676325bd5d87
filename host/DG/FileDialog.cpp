#include "DG/FileDialog.hpp"

#include "sim/FileDialogs.h"
#include "sim/Sim.h"

namespace DG {

SystemDialog::~SystemDialog() = default;

FileDialog::FileDialog(Type type) : m_type(type) {}

void FileDialog::SetTitle(const char* title) {
    m_title = title != nullptr ? title : "";
}

void FileDialog::SetFolder(const IO::Location& folder) {
    m_folder = folder;
}

Int32 FileDialog::AddFilter(FTM::TypeID type, const char* text) {
    if (FTM::FileTypeManager::GetType(type) == nullptr) {
        return -1;
    }
    m_filters.push_back(text != nullptr ? text : "");
    return Int32(m_filters.size() - 1);
}

void FileDialog::SelectFilter(UInt32 index) {
    if (index < m_filters.size()) {
        m_selectedFilter = index;
    }
}

bool FileDialog::Invoke() {
    if (sim::enter("DG::FileDialog::Invoke", m_type) != NoError) {
        return false;
    }
    sim::FileDialogRecord record;
    record.type = m_type;
    record.title = m_title;
    record.filters = m_filters;
    if (!m_folder.IsEmpty()) {
        m_folder.ToPath(&record.folder);
    }
    record.preselected = m_selectedFilter;
    sim::FileDialogAnswer answer = sim::answerFileDialog(record);
    if (!answer.confirm) {
        return false;
    }
    m_selected = IO::Location(answer.file.string().c_str());
    m_selectedFilter = answer.filter;
    return true;
}

} // namespace DG
