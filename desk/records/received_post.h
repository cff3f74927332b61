#pragma once
// A POST to the DiagData address as the HTTP side hands it over: the
// headers as they came, the whole body and the socket's peer.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>

namespace pralix::desk {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

struct ReceivedPost {
  HeaderList headers;
  QByteArray body;
  QHostAddress peer;
  qint64 receivedAtMs = 0;
};

// Every value of the header with that name (case-insensitive), in order.
QList<QByteArray> HeaderValues(const HeaderList& headers, const char* name);

}  // namespace pralix::desk
