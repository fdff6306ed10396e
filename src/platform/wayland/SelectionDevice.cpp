#include "platform/wayland/SelectionDevice.h"

#include "platform/wayland/DataControlDevice.h"
#include "platform/wayland/WaylandConnection.h"

namespace {
template <class Api>
std::unique_ptr<SelectionDevice> make(WaylandConnection& connection, SelectionDevice::Events& events,
                                      QByteArray* protocol)
{
    std::uint32_t version = 0;
    auto* manager = static_cast<typename Api::Manager*>(
        connection.bind(Api::managerName, Api::managerInterface(), Api::maxVersion, &version));
    if (!manager) {
        return nullptr;
    }
    *protocol = QByteArray(Api::managerName) + " v" + QByteArray::number(version);
    return std::make_unique<DataControlDevice<Api>>(manager, connection.seat(), events);
}
} // namespace

std::unique_ptr<SelectionDevice> SelectionDevice::create(WaylandConnection& connection, Events& events,
                                                         QByteArray* protocol)
{
    if (!connection.seat()) {
        return nullptr;
    }
    if (connection.global(ExtDataControlApi::managerName)) {
        return make<ExtDataControlApi>(connection, events, protocol);
    }
    return make<WlrDataControlApi>(connection, events, protocol);
}
