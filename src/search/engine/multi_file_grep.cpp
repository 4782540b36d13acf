#include "search/engine/multi_file_grep.h"

#include <system_error>

#include "search/engine/encoded_file_source.h"
#include "search/engine/file_kind.h"

namespace tabulo::search {

void grepFile(regex::TGrep& grep, const std::string& path, GrepEncoding encoding) {
    if (encoding == GrepEncoding::ShiftJis) {
        grep.GrepFile(path);
        return;
    }
    EncodedFileSource source(path);
    grep.GrepSource(source);
}

GrepFilesResult grepFiles(regex::TGrep& grep, const std::vector<std::string>& paths,
                          const GrepFileEvents& events, GrepEncoding encoding) {
    GrepFilesResult result;
    const std::string* current = nullptr;
    grep.SetOnMatch([&](regex::TGrep&, const regex::RE_LineInfo_t& hit) {
        if (events.onHit) events.onHit(*current, hit);
    });
    const auto skip = [&](const std::string& path, const std::string& reason) {
        ++result.skipped;
        if (events.onSkipped) events.onSkipped(path, reason);
    };
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        if (events.beforeFile && !events.beforeFile(i, path)) {
            result.stopped = true;
            break;
        }
        const FileKind kind = fileKindOf(path);
        if (kind != FileKind::Regular) {
            skip(path, fileKindReason(kind));
            continue;
        }
        current = &path;
        try {
            grepFile(grep, path, encoding);
            ++result.searched;
        } catch (const regex::EGrepCancel&) {
            result.stopped = true;
            break;
        } catch (const regex::EFileNotFound& error) {
            skip(path, error.what());
        } catch (const std::system_error& error) {
            skip(path, error.code().message());  // a read error part way
        }
    }
    grep.SetOnMatch({});
    return result;
}

}  // namespace tabulo::search
