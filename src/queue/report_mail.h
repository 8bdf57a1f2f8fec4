// The error report mails of the send run and the fixed operator address they go to.
// GUI thread.
#pragma once

#include <QString>

#include "queue/connection_data.h"

namespace sendwerk {

struct Shared;
struct QueueContext;

// The operator's mailbox for error reports; one fixed address of the installation.
inline constexpr char kErrorReportAddress[] = "sendwerk-fehler@localhost";

// The report mail after a completed run with failed or quarantined orders waiting.
void sendSendwerkErrorReport(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                             const QString& reportText);
// The report mail after a run that got no answer from the mail client.
void sendMailClientErrorReport(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                               const QString& problemText);

}  // namespace sendwerk
