#include "GX/GXImage.hpp"
#include "GSRoot/BM.hpp"
#include "GX/GSPixMap.hpp"
#include "IO/Location.hpp"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(GXImageTest, AFileIsReplacedWholeThroughItsLink) {
    const fs::path folder = sim::sandboxRoot() / "gx";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "named.png") << "old";
    fs::create_symlink("named.png", folder / "link.png");
    GSPixMapHandle pixMap = GXCreateGSPixMap(4, 3, 72.0, 72.0, GSPixelRGB24);
    const GX::Image image(pixMap);
    GXDeleteGSPixMap(&pixMap);
    const IO::Location link((folder / "link.png").c_str());

    // A disk that fills up keeps the old file, never half an image.
    sim::failWritesAfter(10);
    EXPECT_EQ(image.WriteToFile(link, FTM::PNGImageType, GX::ImageSaveOptions()), ErrIO);
    sim::reset();
    EXPECT_EQ(contentOf(folder / "named.png"), "old");

    // The image's bytes are counted once: a disk with just their room takes them, and the write
    // is the image's alone, no file call of the host's.
    GSHandle encoded = nullptr;
    ASSERT_EQ(image.WriteToHandle(encoded, FTM::PNGImageType, 0), NoError);
    sim::failWritesAfter(std::size_t(BMGetHandleSize(encoded)));
    BMKillHandle(&encoded);
    sim::clearCalls();
    ASSERT_EQ(image.WriteToFile(link, FTM::PNGImageType, GX::ImageSaveOptions()), NoError);
    EXPECT_EQ(contentOf(folder / "named.png").substr(1, 3), "PNG");
    for (const char* call : {sim::fileCreateCall, sim::fileWriteCall, sim::renameCall, sim::deleteCall}) {
        EXPECT_EQ(sim::callCount(call), 0u) << call;
    }
    sim::reset();
    EXPECT_TRUE(fs::is_symlink(folder / "link.png"));

    // A FIFO takes the image in place.
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    const int reader = ::open((folder / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_EQ(image.WriteToFile(IO::Location((folder / "pipe").c_str()), FTM::PNGImageType, {}), NoError);
    char received[4] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 4);
    ::close(reader);
    EXPECT_EQ(std::string(received + 1, 3), "PNG");
    EXPECT_TRUE(fs::is_fifo(folder / "pipe"));
    // With no reader it is not written, and nothing waits for one (the alarm ends a write that would).
    EXPECT_EXIT(
        {
            ::alarm(10);
            const GSErrCode err =
                image.WriteToFile(IO::Location((folder / "pipe").c_str()), FTM::PNGImageType, {});
            std::exit(err == ErrIO ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");

    // A node that takes no write, such as a socket, is never replaced by a file.
    const fs::path socketPath = folder / "socket";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.string().size() >= sizeof address.sun_path) {
        GTEST_SKIP() << "no socket of a name this long: " << socketPath;
    }
    socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_NE(image.WriteToFile(IO::Location(socketPath.c_str()), FTM::PNGImageType, {}), NoError);
    ::close(socket);
    EXPECT_TRUE(fs::is_socket(socketPath));
}
