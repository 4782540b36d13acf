// How fast the editor's paint path decodes Shift-JIS: SjisCodec's table
// lookups against glibc iconv on the same text (mixed kanji, kana, ASCII and
// line breaks, about 1 MB), in one run so the figures compare directly.
// run_sjis_codec_bench.sh prints the figures with the ratio iconv / tables.
#include "sjis/sjis_codec.h"

#include <benchmark/benchmark.h>
#include <iconv.h>

#include <string>

namespace {

using tabulo::sjis::SjisCodec;

const std::string& sampleText()
{
    static const std::string text = [] {
        // "漢字かなｶﾅ ASCII 123" with a CR LF, repeated.
        const std::string line = "\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8\xB6\xC5 ASCII 123 "
                                 "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x95\xB6\x8F\xCD\r\n";
        std::string all;
        while (all.size() < (1u << 20)) {
            all += line;
        }
        return all;
    }();
    return text;
}

void decodeWithTables(benchmark::State& state)
{
    const SjisCodec& codec = SjisCodec::instance();
    const std::string& text = sampleText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(codec.toUtf16(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void decodeWithIconv(benchmark::State& state)
{
    const std::string& text = sampleText();
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    std::u16string out(text.size(), u'\0');
    for (auto _ : state) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(text.data());
        std::size_t inLeft = text.size();
        char* outPtr = reinterpret_cast<char*>(out.data());
        std::size_t outLeft = out.size() * 2;
        iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void encodeWithTables(benchmark::State& state)
{
    const SjisCodec& codec = SjisCodec::instance();
    const std::u16string unicode = codec.toUtf16(sampleText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(codec.fromUtf16(unicode));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sampleText().size()));
}

BENCHMARK(decodeWithTables)->Unit(benchmark::kMicrosecond);
BENCHMARK(decodeWithIconv)->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeWithTables)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
