#pragma once
// The layout stream of unit Keyboard: how a layout is read from a layout file or a built-in
// layout and handed to the collection it replaces. The collection's own reading and writing
// (LoadKeys, WriteKeys, LoadFromFile, SaveToFile) are implemented beside it, in LayoutStream.cpp.

#include "Keys.h"

#include <exception>
#include <memory>

namespace quimbel {

// A layout read into a collection of its own. Every way of loading a layout reads this way
// first, so the keys it replaces stay untouched until it is complete; the caller then decides
// what a failed read replaces (RaiseError before HandOver: nothing; after: the keys read).
class TLayoutRead {
public:
    // Reading never raises: an error is kept, with the keys read completely before it, until
    // RaiseError. A missing file is EFOpenError, a missing built-in layout EResNotFound.
    static TLayoutRead FromFile(const vcl::AnsiString& FileName);
    static TLayoutRead FromResource(const vcl::AnsiString& Name);

    bool Failed() const { return static_cast<bool>(error_); }
    // Raises the error of the read, if it failed.
    void RaiseError() const;
    // Frees the keys of Keys and gives it the keys read, in stream order and without buttons;
    // Keys stays the same object, so whoever refers to it sees the new layout.
    void HandOver(TKeyCollection* Keys);

private:
    TLayoutRead();

    std::unique_ptr<TKeyCollection> keys_;
    std::exception_ptr error_;
};

} // namespace quimbel
