#pragma once

#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace kavrel {

class ProgramDir;

// One person's invitation: the entry as printed (their whole list line) and their personal link.
struct Invitation {
  std::string entry;  // GB18030
  QString link;       // http://ADDRESS:PORT/?c=CODE
  QString code;
};

// Writes the invitations as an A4 PDF, eight cards a page (two across, four down), each with the
// person's entry, their QR code and the code spelled out for typing. False when it cannot be written.
bool WriteInvitationsPdf(const QString& path, const QString& title, const std::vector<Invitation>& invitations);

// "签到邀请函(PDF)…" of the list editor: the saved list's people with their own codes (made for
// those without one), the phone server's address from the settings, a file chosen by the operator.
void SaveInvitationsPdf(const ProgramDir& dir, QWidget* parent);

}  // namespace kavrel
