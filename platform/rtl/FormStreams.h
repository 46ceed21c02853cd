#pragma once
// Binary form streams ("TPF0") and their text form: writing a root component with its children,
// reading it back (creating components by class name, binding published fields and handlers of
// the root, resolving references after the whole stream), and converting between the binary and
// the text form of .dfm files.

#include "Filer.h"

namespace vcl {

// Writes Root, its properties (only those that differ from their default, or have none) and its
// children as one binary form stream, signature included.
void WriteComponent(TStream* Stream, TComponent* Root);

// Reads one binary form stream. With an Instance, the stream's root object is read into it (a
// form reading its own resource); otherwise the root is created by class name with Owner, and
// given Parent as its parent component. Components read get the root as owner and the enclosing
// object as parent. csLoading stays set on every component read until the whole stream was read;
// then the references are resolved and Loaded is called on each of them, in reading order.
// Returns the root.
TComponent* ReadComponent(TStream* Stream, TComponent* Instance, TComponent* Owner = nullptr,
                          TComponent* Parent = nullptr);

// Reads the form resource (type RCDATA) named ResName into Instance; false when there is none.
bool ReadComponentRes(const AnsiString& ResName, TComponent* Instance);

// Text form (object Name: TClass ... end) to binary form and back. Syntax errors raise
// EParserError with the line and column.
void ObjectTextToBinary(TStream* Input, TStream* Output);
void ObjectBinaryToText(TStream* Input, TStream* Output);

} // namespace vcl
