#pragma once
// Clean-up, splitting and mapping of URL texts. All texts are narrow (ANSI) strings.
#include <string>

// Cleans up a start address typed by the user (in place): backslashes become slashes, a leading
// scheme is replaced by "http://" (the HTTP client fetches http addresses only), runs of slashes
// in the path shrink to one and spaces are dropped. A host:port and everything in the query
// (slashes and colons included) are kept. A text that holds both "http://" and "https://" only
// has its backslashes turned into slashes.
void NormalizeUrl(std::string& url);

// Turns a server path into a relative folder path (in place): the query ('?' and after) is cut,
// then every '/' becomes '\'.
void UrlPathToFilePath(std::string& path);

// The extension of the URL's file name, dot included (".jpg"), or "" when it has none. The
// query is ignored; the first seven characters (the length of "http://") are never searched.
std::string GetUrlFileExtension(const std::string& url);

// Splits text into folder (up to and including the last separator) and name (the rest); folder
// or name may be null. slash selects '/' as separator, otherwise '\'. An address made of scheme
// and host only is all folder, a separator inside the query does not count, and a leading
// separator is dropped from the folder.
void SplitUrl(const std::string& text, std::string* folder, std::string* name, bool slash);
