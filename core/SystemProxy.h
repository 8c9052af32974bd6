#pragma once
// The system's proxy: the "ProxyServer" value of the current user's Internet settings.
#include <string>

// Reads HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings "ProxyServer" and
// parses it. False (outputs untouched) when the key or value is missing or unusable.
bool ReadSystemProxy(std::string& host, int& port);

// Parses a "ProxyServer" text: "host:port", "http://host:port/", or a per-protocol list
// "http=host:port;ftp=..." (its http entry). A missing port is 80.
bool ParseProxyServerText(const std::string& text, std::string& host, int& port);
