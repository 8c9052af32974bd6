#include "framework/DispParams.h"

namespace {
// Follows a variant-by-reference chain a short way; a longer chain is no argument we read.
const VARIANT* Unwrap(const VARIANT* value) {
    for (int depth = 0; value && depth < 4; ++depth) {
        if (V_VT(value) != (VT_VARIANT | VT_BYREF)) return value;
        value = V_VARIANTREF(value);
    }
    return nullptr;
}
}  // namespace

const VARIANT* DispArgument(const DISPPARAMS* params, UINT position) {
    if (!params || !params->rgvarg || position >= params->cArgs) return nullptr;
    // DISPPARAMS holds the arguments last-first.
    return Unwrap(&params->rgvarg[params->cArgs - 1 - position]);
}

bool DispArgString(const DISPPARAMS* params, UINT position, std::wstring& value) {
    const VARIANT* argument = DispArgument(params, position);
    if (!argument) return false;
    BSTR text = nullptr;
    if (V_VT(argument) == VT_BSTR)
        text = V_BSTR(argument);
    else if (V_VT(argument) == (VT_BSTR | VT_BYREF) && V_BSTRREF(argument))
        text = *V_BSTRREF(argument);
    else
        return false;
    value.assign(text ? text : L"", text ? ::SysStringLen(text) : 0);
    return true;
}

bool DispArgLong(const DISPPARAMS* params, UINT position, long& value) {
    const VARIANT* argument = DispArgument(params, position);
    if (!argument) return false;
    switch (V_VT(argument)) {
    case VT_I4: value = V_I4(argument); return true;
    case VT_I4 | VT_BYREF: if (!V_I4REF(argument)) return false; value = *V_I4REF(argument); return true;
    case VT_I2: value = V_I2(argument); return true;
    case VT_INT: value = V_INT(argument); return true;
    default: return false;
    }
}

bool DispArgBool(const DISPPARAMS* params, UINT position, bool& value) {
    const VARIANT* argument = DispArgument(params, position);
    if (!argument) return false;
    if (V_VT(argument) == VT_BOOL) {
        value = V_BOOL(argument) == VARIANT_TRUE;
        return true;
    }
    if (V_VT(argument) == (VT_BOOL | VT_BYREF) && V_BOOLREF(argument)) {
        value = *V_BOOLREF(argument) == VARIANT_TRUE;
        return true;
    }
    return false;
}

bool DispArgObject(const DISPPARAMS* params, UINT position, IUnknown*& value) {
    const VARIANT* argument = DispArgument(params, position);
    if (!argument) return false;
    switch (V_VT(argument)) {
    case VT_DISPATCH: value = V_DISPATCH(argument); return true;
    case VT_UNKNOWN: value = V_UNKNOWN(argument); return true;
    case VT_DISPATCH | VT_BYREF: if (!V_DISPATCHREF(argument)) return false; value = *V_DISPATCHREF(argument); return true;
    case VT_UNKNOWN | VT_BYREF: if (!V_UNKNOWNREF(argument)) return false; value = *V_UNKNOWNREF(argument); return true;
    default: return false;
    }
}
