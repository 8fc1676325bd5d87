// The nodes the host's file tests make in their own folders: a file holding "old", a FIFO, or a
// device that discards what it is given (as /dev/null does), of a mode and owner.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

enum class NodeKind { File, Fifo, Device };

// Whether making such a node needs root: a device, or one given to another user.
inline bool nodeNeedsRoot(NodeKind kind, uid_t owner) {
    return kind == NodeKind::Device || owner != ::geteuid();
}

inline ::testing::AssertionResult makeNode(const std::filesystem::path& node, NodeKind kind, mode_t mode,
                                           uid_t owner) {
    if (kind == NodeKind::File) {
        std::ofstream(node) << "old";
    } else if (::mknod(node.c_str(), (kind == NodeKind::Fifo ? S_IFIFO : S_IFCHR) | 0600,
                       kind == NodeKind::Device ? makedev(1, 3) : 0) != 0) {
        return ::testing::AssertionFailure() << "cannot make " << node;
    }
    const gid_t group = owner == ::geteuid() ? ::getegid() : gid_t(owner);
    if (::chown(node.c_str(), owner, group) != 0 || ::chmod(node.c_str(), mode) != 0) {
        return ::testing::AssertionFailure() << "cannot give " << node << " its owner and mode";
    }
    return ::testing::AssertionSuccess();
}
