#pragma once
// Saving and reopening a form again and again: for tests that a form read from a stream writes
// back exactly what it read.

#include "rtl/FormStreams.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

// A form of 300 × 200 with a main menu, as text.
inline const std::string MenuFormText = "object MenuForm: TForm\n"
                                        "  Width = 300\n"
                                        "  Height = 200\n"
                                        "  Menu = MainMenu\n"
                                        "  object MainMenu: TMainMenu\n"
                                        "    object FileItem: TMenuItem\n"
                                        "      Caption = '&File'\n"
                                        "    end\n"
                                        "  end\n"
                                        "end\n";

// Reads the text form Text into a fresh TForm Rounds times, each time from the bytes the round
// before saved; OnRead(form, round) makes the test's own checks on the form it read. Every save
// after the first must give the bytes of the one before.
template <class OnRead>
void SaveAndReopen(const std::string& Text, int Rounds, OnRead onRead) {
    vcl::TMemoryStream source, binary;
    source.WriteBuffer(Text.data(), static_cast<int32_t>(Text.size()));
    source.SetPosition(0);
    vcl::ObjectTextToBinary(&source, &binary);
    std::vector<uint8_t> saved = binary.Bytes();
    for (int round = 0; round < Rounds; ++round) {
        vcl::TMemoryStream in, out;
        in.WriteBuffer(saved.data(), static_cast<int32_t>(saved.size()));
        in.SetPosition(0);
        vcl::TForm form(nullptr);
        vcl::ReadComponent(&in, &form);
        onRead(form, round);
        vcl::WriteComponent(&out, &form);
        if (round > 0) {
            EXPECT_EQ(out.Bytes(), saved) << round;
        }
        saved = out.Bytes();
    }
}

} // namespace testsupport
