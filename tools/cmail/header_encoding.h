// Writes an unstructured header field (the Subject) the way RFC 5322 and RFC 2047 want
// it: plain ASCII text is folded before a blank, so unfolding gives back exactly the
// text; anything else (umlauts, "€", control characters, a "=?" that a reader could
// take for an encoded word, a word too long to fold) goes out as UTF-8 "B" encoded words,
// split only between characters. Every line stays within 78 characters.
//
// We write this header ourselves because vmime 0.9.2 folds after a blank and adds one,
// so a long subject arrives with a doubled blank.
#pragma once

#include <QString>

#include <string>

namespace sendwerk::cmail {

// The whole field, "Name: value" with CR LF after each line.
std::string unstructuredField(const std::string& name, const QString& value);

}  // namespace sendwerk::cmail
