#include "Addon/FileEvent.h"
#include "Addon/File3DEvent.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;

TEST(FileEventTest, CopiesCloneTheDataFile) {
    std::filesystem::path folder = sim::sandboxRoot() / "fileEvents";
    std::filesystem::create_directories(folder);
    String path((folder / "plan.gsm").string().c_str());

    FileEvent event(2, new DataFile(path, DataFile::readWrite, true), String("merge"), 5, true);
    EXPECT_EQ(event.getSpec(), EventSpec(HostEvent::ID, FileEvent::ID));
    EXPECT_EQ(event.getID(), 2);
    ASSERT_NE(event.getFile(), nullptr);
    EXPECT_TRUE(event.getFile()->exists());

    FileEvent copy(event);
    ASSERT_NE(copy.getFile(), nullptr);
    EXPECT_NE(copy.getFile(), event.getFile());
    EXPECT_EQ(copy.getFile()->getPathName(), event.getFile()->getPathName());
    EXPECT_EQ(copy.getText(), String("merge"));
    EXPECT_EQ(copy.getValue(), 5u);
    EXPECT_TRUE(copy.getFlag());

    FileEvent none(1, nullptr);
    none = event;
    ASSERT_NE(none.getFile(), nullptr);
    EXPECT_NE(none.getFile(), event.getFile());
    none = FileEvent(3, nullptr);
    EXPECT_EQ(none.getFile(), nullptr);
    EXPECT_EQ(none.getID(), 3);

    File3DEvent export3D(4, nullptr, nullptr);
    EXPECT_EQ(export3D.getSpec().getKind(), FileEvent::ID);
    EXPECT_EQ(File3DEvent::ID, MakeGSType("FIL3"));
    std::filesystem::remove_all(folder);
}
