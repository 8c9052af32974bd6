#pragma once
// An owning pointer to a COM interface: releases what it holds when it is reset or destroyed.
#include <unknwn.h>

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    // Takes a reference of its own.
    explicit CComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.p_) {}
    CComPtr& operator=(const CComPtr& other) {
        if (other.p_) other.p_->AddRef();
        Release();
        p_ = other.p_;
        return *this;
    }
    ~CComPtr() { Release(); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For an out parameter: drops what was held first.
    T** Receive() {
        Release();
        return &p_;
    }
    void Release() {
        if (p_) {
            T* held = p_;
            p_ = nullptr;
            held->Release();
        }
    }
    // Asks source for this interface; false (and empty) when it has none.
    bool QueryFrom(IUnknown* source) {
        Release();
        return source && SUCCEEDED(source->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&p_))) && p_;
    }

private:
    T* p_ = nullptr;
};

// COM identity: two pointers name the same object when their IUnknown interfaces are equal.
bool IsSameComObject(IUnknown* a, IUnknown* b);
