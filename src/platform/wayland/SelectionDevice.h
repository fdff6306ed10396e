// One seat's clipboard through a data-control protocol, whichever of the two the compositor offers;
// used on the Wayland thread only. Offers and sources are opaque handles here.
#pragma once

#include <QByteArray>
#include <QList>
#include <memory>

class WaylandConnection;

class SelectionDevice
{
public:
    using Offer = void*;
    using Source = void*;

    // What the compositor reports, on the Wayland thread.
    class Events
    {
    public:
        virtual ~Events() = default;
        virtual void offerIntroduced(Offer offer) = 0;
        virtual void mimeOffered(Offer offer, const QByteArray& mime) = 0;
        virtual void selection(Offer offer) = 0;                              // nullptr: no selection
        virtual void primarySelection(Offer offer) = 0;                       // nullptr: none
        virtual void send(Source source, const QByteArray& mime, int fd) = 0; // fd is ours to close
        virtual void cancelled(Source source) = 0;
        virtual void finished() = 0;
    };

    virtual ~SelectionDevice() = default;

    virtual void receive(Offer offer, const QByteArray& mime, int fd) = 0;
    virtual void destroyOffer(Offer offer) = 0;
    // Makes a source offering exactly these types and sets it as the selection.
    virtual Source setSelection(const QList<QByteArray>& mimeTypes) = 0;
    virtual void destroySource(Source source) = 0;

    // ext_data_control_manager_v1 when offered, else zwlr_data_control_manager_v1; nothing without
    // either (or without a seat). `protocol` names the one in use with its version. Before the
    // connection starts, or on its thread.
    static std::unique_ptr<SelectionDevice> create(WaylandConnection& connection, Events& events, QByteArray* protocol);
};
