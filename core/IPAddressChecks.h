// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "common/AnsiString.h"

namespace tb {

// Checks of dotted IPv4 address texts. Every failure throws tb::Exception
// with a message that quotes the whole address text passed in.

// Piece n (from 1) of text split at separator; empty when there are fewer.
AnsiString GetPiece(const AnsiString& text, int n, char separator);

// The 12-character form of the first four pieces, each padded with leading
// '0' to three characters. Throws the piece-length or leading-zero error.
AnsiString IPAddressToTriplets(const AnsiString& address);

// True when every character is a decimal digit; true for the empty text.
bool IsAllDigits(const AnsiString& text);

// Throws the digits-only or range error for the first bad group.
void CheckTriplets(const AnsiString& triplets, const AnsiString& address);

// Throws the error of the first rule that the address text breaks.
void ValidateIPAddress(const AnsiString& address);

// ValidateIPAddress for a text typed whole rather than cell by cell: one
// that goes on after its fourth piece is refused with the piece-length error
// too, where the edit control would quietly send the first four pieces.
void ValidateWholeIPAddress(const AnsiString& address);

// Octet n (1 to 4) of a valid address; 0 for any other n. Throws like
// ValidateIPAddress.
std::uint8_t GetIPOctet(const AnsiString& address, std::uint8_t n);

// Whether the address can be a host's: false when octet 1 is 0, 127, 240 or
// 255, or octet 4 is 0 or 255. Throws like ValidateIPAddress.
bool IsHostAddress(const AnsiString& address);

}  // namespace tb
