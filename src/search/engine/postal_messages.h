// What the postal code conversion tells the user (UTF-8), and the Shift-JIS
// words it reads from and writes into lines.
#pragma once

namespace tabulo::search::postal {

inline constexpr const char* kMissingFile = "Err! 郵政省の郵便番号ファイルが見あたりません";
inline constexpr const char* kBadAddress = "Err! 都道府県 市町村 町名をスペース（１個か２個）で区切る。番地は書かない";
inline constexpr const char* kNotFound = "見つかりませんでした！";
inline constexpr const char* kWholeCity = "以下に掲載がない場合です。";
inline constexpr const char* kTooMany = "ヒット数が多すぎます！";

// 以下に掲載がない場合: the town of a record that covers a whole city.
inline constexpr const char* kWholeCityTown = "\x88\xc8\x89\xba\x82\xc9\x8c\x66\x8d\xda\x82\xaa\x82\xc8\x82\xa2\x8f\xea\x8d\x87";
inline constexpr const char* kPostalMark = "\x81\xa7";                 // 〒
inline constexpr const char* kOaza = "\x91\xe5\x8e\x9a";               // 大字
inline constexpr const char* kGun = "\x8c\x53";                        // 郡
inline constexpr const char* kFullWidthSpace = "\x81\x40";
// " の検索数が多すぎ！"
inline constexpr const char* kTooManySuffix = "\x20\x82\xcc\x8c\x9f\x8d\xf5\x90\x94\x82\xaa\x91\xbd\x82\xb7\x82\xac\x81\x49";

}  // namespace tabulo::search::postal
