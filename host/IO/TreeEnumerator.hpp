// Walks a folder tree and reports each entry through the callbacks below; a subclass overrides
// what it needs. Entries of a folder are reported in the byte order of their names.
//
// For every entry: EntryFound(name, isFolder) first (false passes over the entry); then a link
// gets LinkFound (true follows it to its target, false passes over it), a file FileFound, a
// folder FolderFound (true descends: FolderEntered, the folder's entries, FolderExited). A link
// that leads back into a folder being walked is not followed again, nor one that the file rules do
// not follow (another user's where they may have put it). Stop() ends the walk after the current
// callback; so does FileFound answering false.
//
// Each folder is listed through a descriptor of it, each folder inside it opened from that one.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <sys/types.h>

#include <set>
#include <utility>

namespace IO {

class Folder;
class Name;

class TreeEnumerator {
public:
    TreeEnumerator() = default;
    virtual ~TreeEnumerator();

    TreeEnumerator(const TreeEnumerator&) = delete;
    TreeEnumerator& operator=(const TreeEnumerator&) = delete;

    // Walks the entries of root. NoError when the walk ran to its end or was stopped; the folder's
    // status when root cannot be read; the error of a folder that could not be listed.
    GSErrCode Enumerate(const Folder& root);
    void Stop() { m_stopped = true; }
    bool IsStopped() const { return m_stopped; }
    // The folder whose entries are being reported (valid inside the callbacks).
    const Folder& GetCurrentFolder() const { return *m_current; }

protected:
    virtual bool EntryFound(const Name& name, bool isFolder);
    virtual bool FileFound(const Name& name);
    virtual bool FolderFound(const Name& name);
    virtual bool LinkFound(const Name& name);
    virtual void FolderEntered(const Name& name, const Folder& folder);
    virtual void FolderExited(const Name& name, const Folder& folder);

private:
    GSErrCode walk(const Folder& folder, int fd);

    const Folder* m_current = nullptr;
    bool m_stopped = false;
    std::set<std::pair<dev_t, ino_t>> m_walking; // folders on the current path, by device and inode
};

} // namespace IO
