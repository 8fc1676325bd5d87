// The host's system file dialogs. No screen: each Invoke takes its answer from the scripted queue
// of sim/FileDialogs.h (an empty queue cancels) and records what the dialog showed.
#pragma once

#include "FTM/FileTypeManager.hpp"
#include "GSRoot/GSRoot.hpp"
#include "IO/Location.hpp"

#include <string>
#include <vector>

namespace DG {

class SystemDialog {
public:
    virtual ~SystemDialog();
    // Shows the dialog; true when the user confirmed it.
    virtual bool Invoke() = 0;
};

class FileDialog : public SystemDialog {
public:
    enum Type { OpenFile = 0, Save = 4 };

    explicit FileDialog(Type type);

    void SetTitle(const char* title);
    // The folder the dialog opens on; an empty location leaves the choice to the host.
    void SetFolder(const IO::Location& folder);
    // Adds a filter for a file type of the file-type manager, shown as text; answers its index,
    // or -1 for an unknown type.
    Int32 AddFilter(FTM::TypeID type, const char* text);
    UInt32 GetFilterCount() const { return UInt32(m_filters.size()); }
    // Pre-selects a filter; an index out of range is ignored.
    void SelectFilter(UInt32 index);

    bool Invoke() override;

    // After a confirmed Invoke: the chosen file and the index of the filter in force.
    const IO::Location& GetSelectedFile() const { return m_selected; }
    UInt32 GetSelectedFilter() const { return m_selectedFilter; }

private:
    Type m_type;
    std::string m_title;
    IO::Location m_folder;
    std::vector<std::string> m_filters;
    UInt32 m_selectedFilter = 0;
    IO::Location m_selected;
};

} // namespace DG
