#pragma once
// The text the plug-in hands to the program through the clipboard (the page's address, a line
// feed, the page's cookies) and the rules around it.
#include <windows.h>
#include <string>

namespace plugin {

// Wide browser text in the ANSI code page of this thread's locale.
std::string ToAnsi(const wchar_t* text);
// Text of the process's ANSI code page (a path read with the ANSI calls) in wide characters.
std::wstring FromAnsi(const std::string& text);

// The page's address as a browser sends it to a server: every character outside ASCII as its UTF-8
// bytes, percent-escaped, and a host name outside ASCII in its ASCII (IDNA) form, so that the
// address crosses in any code page unchanged. False when no server could be sent the address
// (a broken UTF-16 pair, a host name IDNA refuses).
bool AddressForProgram(const std::wstring& location, std::string& address);

// Wide text in the ANSI code page of this thread's locale, only when every character is carried
// exactly: false where the conversion would put a best-fit stand-in or the default character.
bool ToAnsiExactly(const std::wstring& text, std::string& ansi);

// Pages worth a task: the address begins with "http:" or "www.", in any case.
bool IsAcceptedPageAddress(const std::string& address);

// Address, one line feed, then the cookie text (which may be empty).
std::string MakeHandoverText(const std::string& address, const std::string& cookies);

// Puts text on the clipboard as CF_TEXT for `owner`; the block holds the text's bytes and a NUL.
// False (the text is not there) when the clipboard cannot be opened within a moment or owned, or
// the block not made.
bool PutTextOnClipboard(HWND owner, const std::string& text);

// The program file beside the plug-in: the plug-in's path up to its last backslash, then
// "Brackenfly.exe". Empty when the result would not fit a path buffer.
std::string ProgramBesidePlugin(const std::string& pluginPath);

// The plug-in's own path as its registration holds it; false when it cannot be read whole.
bool ReadRegisteredPluginPath(std::string& path);

}  // namespace plugin
