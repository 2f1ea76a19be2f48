#pragma once

#include "contacts/contact.h"
#include "contacts/evolution/evolutionglib.h"

#include <libebook/libebook.h>

// One address book of Evolution Data Server, read through a view that asks only for the fields
// of names. Its calls report on the main context that is the thread's default at `startReading`.
class EvolutionAddressBook
{
public:
    // `callsInFlight` counts the calls that have yet to report, of every address book read
    // together.
    EvolutionAddressBook(ESource* source, const QString& name, int& callsInFlight);
    ~EvolutionAddressBook();
    EvolutionAddressBook(const EvolutionAddressBook&) = delete;
    EvolutionAddressBook& operator=(const EvolutionAddressBook&) = delete;

    ESource* source() const { return m_source.get(); }
    const QString& name() const { return m_name; }
    void startReading(GCancellable* cancellable);
    // Ends a reading that the server has not finished as one that came too late.
    void giveUp();

    bool isFinished() const { return m_finished; }
    const QList<Contact>& contacts() const { return m_contacts; }
    int cards() const { return m_cards; }
    // Why it could not be read, in Hungarian; empty when it was read.
    const QString& failure() const { return m_failure; }

private:
    static void connected(GObject*, GAsyncResult* result, gpointer addressBook);
    static void viewOpened(GObject* client, GAsyncResult* result, gpointer addressBook);
    static void cardsAdded(EBookClientView*, const GSList* cards, gpointer addressBook);
    static void viewComplete(EBookClientView*, const GError* error, gpointer addressBook);
    void fail(const QString& failure);
    void stopListening();

    GObjectPtr<ESource> m_source;
    QString m_name;
    int& m_callsInFlight;
    GCancellable* m_cancellable = nullptr;
    GObjectPtr<EBookClient> m_client;
    GObjectPtr<EBookClientView> m_view;
    QList<Contact> m_contacts;
    int m_cards = 0;
    bool m_finished = false;
    QString m_failure;
};
