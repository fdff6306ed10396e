// The two data-control protocols have the same shape under different names: these traits give the
// generated functions of each one name, for DataControlDevice.
#pragma once

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

struct ExtDataControlApi
{
    using Manager = ext_data_control_manager_v1;
    using Device = ext_data_control_device_v1;
    using Source = ext_data_control_source_v1;
    using Offer = ext_data_control_offer_v1;
    using DeviceListener = ext_data_control_device_v1_listener;
    using SourceListener = ext_data_control_source_v1_listener;
    using OfferListener = ext_data_control_offer_v1_listener;
    static constexpr const char* managerName = "ext_data_control_manager_v1";
    static constexpr std::uint32_t maxVersion = 1;
    static const wl_interface* managerInterface() { return &ext_data_control_manager_v1_interface; }

    static Device* getDevice(Manager* m, wl_seat* seat) { return ext_data_control_manager_v1_get_data_device(m, seat); }
    static Source* createSource(Manager* m) { return ext_data_control_manager_v1_create_data_source(m); }
    static void destroyManager(Manager* m) { ext_data_control_manager_v1_destroy(m); }
    static int listen(Device* d, const DeviceListener* l, void* data)
    {
        return ext_data_control_device_v1_add_listener(d, l, data);
    }
    static void setSelection(Device* d, Source* s) { ext_data_control_device_v1_set_selection(d, s); }
    static void destroyDevice(Device* d) { ext_data_control_device_v1_destroy(d); }
    static int listen(Source* s, const SourceListener* l, void* data)
    {
        return ext_data_control_source_v1_add_listener(s, l, data);
    }
    static void offer(Source* s, const char* mime) { ext_data_control_source_v1_offer(s, mime); }
    static void destroySource(Source* s) { ext_data_control_source_v1_destroy(s); }
    static int listen(Offer* o, const OfferListener* l, void* data)
    {
        return ext_data_control_offer_v1_add_listener(o, l, data);
    }
    static void receive(Offer* o, const char* mime, int fd) { ext_data_control_offer_v1_receive(o, mime, fd); }
    static void destroyOffer(Offer* o) { ext_data_control_offer_v1_destroy(o); }
};

struct WlrDataControlApi
{
    using Manager = zwlr_data_control_manager_v1;
    using Device = zwlr_data_control_device_v1;
    using Source = zwlr_data_control_source_v1;
    using Offer = zwlr_data_control_offer_v1;
    using DeviceListener = zwlr_data_control_device_v1_listener;
    using SourceListener = zwlr_data_control_source_v1_listener;
    using OfferListener = zwlr_data_control_offer_v1_listener;
    static constexpr const char* managerName = "zwlr_data_control_manager_v1";
    // Version 2 adds the primary selection, which has to be followed to release its offers.
    static constexpr std::uint32_t maxVersion = 2;
    static const wl_interface* managerInterface() { return &zwlr_data_control_manager_v1_interface; }

    static Device* getDevice(Manager* m, wl_seat* seat)
    {
        return zwlr_data_control_manager_v1_get_data_device(m, seat);
    }
    static Source* createSource(Manager* m) { return zwlr_data_control_manager_v1_create_data_source(m); }
    static void destroyManager(Manager* m) { zwlr_data_control_manager_v1_destroy(m); }
    static int listen(Device* d, const DeviceListener* l, void* data)
    {
        return zwlr_data_control_device_v1_add_listener(d, l, data);
    }
    static void setSelection(Device* d, Source* s) { zwlr_data_control_device_v1_set_selection(d, s); }
    static void destroyDevice(Device* d) { zwlr_data_control_device_v1_destroy(d); }
    static int listen(Source* s, const SourceListener* l, void* data)
    {
        return zwlr_data_control_source_v1_add_listener(s, l, data);
    }
    static void offer(Source* s, const char* mime) { zwlr_data_control_source_v1_offer(s, mime); }
    static void destroySource(Source* s) { zwlr_data_control_source_v1_destroy(s); }
    static int listen(Offer* o, const OfferListener* l, void* data)
    {
        return zwlr_data_control_offer_v1_add_listener(o, l, data);
    }
    static void receive(Offer* o, const char* mime, int fd) { zwlr_data_control_offer_v1_receive(o, mime, fd); }
    static void destroyOffer(Offer* o) { zwlr_data_control_offer_v1_destroy(o); }
};
