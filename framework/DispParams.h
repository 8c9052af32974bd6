#pragma once
// Reads the arguments of a dispatch call (an event) by their position in the call, first = 0,
// whatever way the caller passed them (by value, by reference or as a variant by reference).
// Every reader answers false for a missing argument or one of another type.
#include <windows.h>
#include <oaidl.h>
#include <string>

// The argument at position, unwrapped from references; null when there is none.
const VARIANT* DispArgument(const DISPPARAMS* params, UINT position);

bool DispArgString(const DISPPARAMS* params, UINT position, std::wstring& value);
bool DispArgLong(const DISPPARAMS* params, UINT position, long& value);
bool DispArgBool(const DISPPARAMS* params, UINT position, bool& value);
// The object argument (IDispatch or IUnknown), no reference added; null for a null object.
bool DispArgObject(const DISPPARAMS* params, UINT position, IUnknown*& value);
