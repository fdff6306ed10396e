// A SelectionDevice over one data-control protocol (ext or wlr, through DataControlApi's traits).
#pragma once

#include "platform/wayland/DataControlApi.h"
#include "platform/wayland/SelectionDevice.h"

template <class Api> class DataControlDevice final : public SelectionDevice
{
public:
    DataControlDevice(typename Api::Manager* manager, wl_seat* seat, Events& events)
        : m_manager(manager), m_events(events)
    {
        m_device = Api::getDevice(m_manager, seat);
        Api::listen(m_device, &deviceListener, this);
    }

    ~DataControlDevice() override
    {
        Api::destroyDevice(m_device);
        Api::destroyManager(m_manager);
    }

    void receive(Offer offer, const QByteArray& mime, int fd) override
    {
        Api::receive(static_cast<typename Api::Offer*>(offer), mime.constData(), fd);
    }

    void destroyOffer(Offer offer) override { Api::destroyOffer(static_cast<typename Api::Offer*>(offer)); }

    Source setSelection(const QList<QByteArray>& mimeTypes) override
    {
        typename Api::Source* source = Api::createSource(m_manager);
        Api::listen(source, &sourceListener, this);
        for (const QByteArray& mime : mimeTypes) {
            Api::offer(source, mime.constData());
        }
        Api::setSelection(m_device, source);
        return source;
    }

    void destroySource(Source source) override { Api::destroySource(static_cast<typename Api::Source*>(source)); }

private:
    static DataControlDevice* self(void* data) { return static_cast<DataControlDevice*>(data); }

    static void onDataOffer(void* data, typename Api::Device*, typename Api::Offer* offer)
    {
        Api::listen(offer, &offerListener, data);
        self(data)->m_events.offerIntroduced(offer);
    }
    static void onSelection(void* data, typename Api::Device*, typename Api::Offer* offer)
    {
        self(data)->m_events.selection(offer);
    }
    static void onFinished(void* data, typename Api::Device*) { self(data)->m_events.finished(); }
    static void onPrimarySelection(void* data, typename Api::Device*, typename Api::Offer* offer)
    {
        self(data)->m_events.primarySelection(offer);
    }
    static void onOffer(void* data, typename Api::Offer* offer, const char* mime)
    {
        self(data)->m_events.mimeOffered(offer, QByteArray(mime));
    }
    static void onSend(void* data, typename Api::Source* source, const char* mime, std::int32_t fd)
    {
        self(data)->m_events.send(source, QByteArray(mime), fd);
    }
    static void onCancelled(void* data, typename Api::Source* source) { self(data)->m_events.cancelled(source); }

    static constexpr
        typename Api::DeviceListener deviceListener = {&onDataOffer, &onSelection, &onFinished, &onPrimarySelection};
    static constexpr typename Api::SourceListener sourceListener = {&onSend, &onCancelled};
    static constexpr typename Api::OfferListener offerListener = {&onOffer};

    typename Api::Manager* m_manager;
    typename Api::Device* m_device = nullptr;
    Events& m_events;
};
