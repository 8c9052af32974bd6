#pragma once
// What the running system can draw: alpha blending and gradient fills exist from class 4 on
// (compared unsigned, so later NT versions, class 0xFFFFFFFF, qualify).
unsigned GetWindowsVersionClass();
