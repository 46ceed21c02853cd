#pragma once
// Binary form streams ("TPF0") and their text form: writing a root component with its children,
// reading it back (creating components by class name, binding published fields and handlers of
// the root, resolving references after the whole stream), and converting between the binary and
// the text form of .dfm files.

#include "Filer.h"

namespace vcl {

// Writes Root, its properties (only those that differ from their default, or have none) and its
// children (GetChildren) as one binary form stream, signature included. Strings are written when
// not empty, floats when not zero, sets when they differ from their default (the empty set when
// none is declared); nested objects as dotted names (Font.Name) followed by their
// DefineProperties; references by name ("Owner" for Root itself); handlers by method name (a
// handler assigned in code, without a name, is not written).
void WriteComponent(TStream* Stream, TComponent* Root);

// Reads one binary form stream. With an Instance, the stream's root object is read into it (a
// form reading its own resource); otherwise the root is created by class name with Owner, and
// given Parent as its parent component. Components read get the root as owner and the enclosing
// object as parent. csLoading stays set on every component read until the whole stream was read;
// then the references are resolved and Loaded is called on each of them, in reading order.
// Child classes are looked up among the classes of the root's published fields first, then in
// the class registry. A reference names a component owned by the root, "Owner" or the root's
// own name for the root, or a dotted path; one that names no component is an error. Errors in a
// property raise EReadError "Error reading <component>.<property>: <reason>". When reading fails,
// every component the read created is freed and the root's fields bound to them are cleared.
// Returns the root.
TComponent* ReadComponent(TStream* Stream, TComponent* Instance, TComponent* Owner = nullptr,
                          TComponent* Parent = nullptr);
// The same with a reader the caller set up (its OnFindMethod).
TComponent* ReadComponent(TReader& Reader, TComponent* Instance, TComponent* Owner = nullptr,
                          TComponent* Parent = nullptr);

// Reads the form resource (type RCDATA) named ResName into Instance; false when there is none.
bool ReadComponentRes(const AnsiString& ResName, TComponent* Instance);

// Text form (object Name: TClass ... end) to binary form and back. Syntax errors raise
// EParserError with the line and column; nothing is written to Output unless the conversion
// succeeds. Text is ASCII: string bytes outside 32..126 and the quote are written as #nnn, and
// #nnn up to 255 in the input is that byte of the active ANSI code page; above 255 it is the
// Unicode character, converted to the page ('?' when the page cannot hold it).
// $ hex literals of up to eight digits are 32-bit values ($8000000F is negative). Wide and UTF-8
// string values are written as strings of the active code page.
void ObjectTextToBinary(TStream* Input, TStream* Output);
void ObjectBinaryToText(TStream* Input, TStream* Output);

} // namespace vcl
