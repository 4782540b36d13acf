// Only regular files are read as text: a FIFO without a writer, a device, a
// socket and a folder are refused at once, never waited on or read.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>

#include "os/files/regular_file.h"
#include "support/file_fixture.h"

using tabulo::os::NotRegularFileError;
using tabulo::os::openRegularFile;
using tabulo::testing::ScratchFolder;

TEST(RegularFile, OtherKindsAreRefusedWithoutBlocking) {
    ScratchFolder dir;
    ASSERT_EQ(::mkfifo(dir.path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path("folder"));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.path("sock");
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const struct {
        std::string path;
        const char* kind;
    } cases[] = {
        {dir.path("fifo"), "名前付きパイプ"}, {"/dev/zero", "デバイス"},
        {dir.path("folder"), "フォルダ"},      {socketPath, "ソケット"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(tabulo::testing::finishesWithin(std::chrono::seconds(10), [&] {
            try {
                ::close(openRegularFile(c.path));
            } catch (const NotRegularFileError& error) {
                return std::string(error.what()) ==
                       c.path + ": 通常のファイルではありません（" + c.kind + "）";
            } catch (...) {
            }
            return false;
        })) << c.path;
    }
    ::close(sock);
}

TEST(RegularFile, ARegularFileIsReadWholeAndAMissingOneNamesTheReason) {
    ScratchFolder dir;
    std::string bytes(200000, 'x');
    bytes[12345] = '\0';
    EXPECT_EQ(tabulo::os::readRegularFile(dir.write("a.bin", bytes)), bytes);
    const int fd = openRegularFile(dir.path("a.bin"));
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);  // blocking again for the reader
    ::close(fd);
    try {
        openRegularFile(dir.path("missing"));
        ADD_FAILURE() << "a missing file opened";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), dir.path("missing") + ": " + std::strerror(ENOENT));
    }
}
