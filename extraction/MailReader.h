#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glanex {

// The text of an e-mail message (RFC 5322) or of a mailbox in mbox format, read through GMime: for each
// message its address headers (From, To, Cc, Bcc, Reply-To, Sender) and its subject, decoded, then its
// text parts decoded from their transfer encoding and charset, HTML turned into text; attached messages
// read as messages. Machine identifiers (Message-ID, Received, References, signatures) are left out.
class MailReader {
 public:
  // Whether `start` holds strong evidence of a message: an optional mbox "From " line, then only header
  // lines, among them From and Date plus MIME-Version or Received, then an empty line, all within `start`.
  static bool recognises(std::string_view start);

  // The text of the messages in `bytes` as pane text. Throws EOutOfResources "Erreur au chargement du
  // flux" when parts nest deeper than kMaxMimeDepth or the text outgrows its bound.
  static std::string read(std::string_view bytes);
};

}  // namespace glanex
