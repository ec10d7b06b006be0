#pragma once
// What the scenarios share: a fresh copy of the program, starting it, closing it.
#include <optional>
#include <string>

#include "harness.h"

namespace harumado::harness {

inline constexpr auto kStartLimit = std::chrono::seconds(20);
inline constexpr auto kEndLimit = std::chrono::seconds(15);
inline constexpr auto kFollowLimit = std::chrono::seconds(3);

// The texts the program shows.
inline constexpr wchar_t kStoppedCaption[] = L"    ファイル名  開く";
inline constexpr wchar_t kTopmostMessage[] = L"フォームが[最前面]になります。";
inline constexpr wchar_t kBottomMessage[] = L"フォームが[最背面]になります。";
inline constexpr wchar_t kTopmostTip[] = L"フォーム[最前面]";
inline constexpr wchar_t kBottomTip[] = L"フォーム[最背面]";
inline constexpr wchar_t kIntegerMessage[] = L"小数点以下(四捨五入)カンマなしで貼り付けます。";
inline constexpr wchar_t kNumberMessage[] = L"データを[数値データ]として貼り付けます。";
inline constexpr wchar_t kPictureMessage[] = L"画像を元のサイズのまま貼り付けます。";
inline constexpr wchar_t kFitPictureMessage[] = L"画像をセルサイズに合わせて縮小貼り付けます。";
inline constexpr wchar_t kUsageMessage[] = L"【 使い方 】 → [参考例] [各機能の説明] [注意点]";
inline constexpr wchar_t kReadAloudMessage[] = L"クリップボードの内容をコピーして読み上げます。";

// A folder of its own for the scenario with a copy of the program (and a settings file when
// given); the user's fallback folder is emptied too. Returns the program file's path.
std::wstring PrepareProgram(const std::wstring& scenario, const std::wstring& program,
                            const std::optional<std::string>& settings = std::nullopt,
                            const std::wstring& exe_name = L"harumado.exe");
std::wstring SettingsPathBeside(const std::wstring& exe);
std::wstring FallbackSettingsPath();

// The main window once it is shown and the start-up has finished, or null (a failure).
HWND StartMain(RunningProgram& program);
// Closes the main window and waits for the process to end.
void CloseAndExpectEnd(RunningProgram& program, HWND main);

// A control of the main window, or of the usage or speech window.
inline HWND Main(HWND main, const wchar_t* name) { return Control(main, L"Form1", name); }
inline HWND Speech(HWND speech, const wchar_t* name) { return Control(speech, L"Form3", name); }

bool IsTopmost(HWND window);

// A window's outer left-top and size, as "left,top WxH".
std::wstring Where(HWND window);
// The window comes to stand at this outer rectangle within the follow limit.
void ExpectPlace(const std::wstring& what, HWND window, long left, long top, long width,
                 long height);

}  // namespace harumado::harness
