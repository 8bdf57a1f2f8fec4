// The error report mails of the send run, to the operator's address of the installation
// (QueueContext::errorReportAddress). GUI thread.
#pragma once

#include <QString>

#include "queue/connection_data.h"

namespace sendwerk {

struct Shared;
struct QueueContext;

// The report mail after a completed run with failed or quarantined orders waiting.
void sendSendwerkErrorReport(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                             const QString& reportText);
// The report mail after a run that got no answer from the mail client.
void sendMailClientErrorReport(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                               const QString& problemText);

}  // namespace sendwerk
