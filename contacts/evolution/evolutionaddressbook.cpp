#include "contacts/evolution/evolutionaddressbook.h"

#include "contacts/evolution/evolutioncontact.h"
#include "contacts/evolution/evolutionproblems.h"

namespace {
// The fields that deciding a name day needs, and the flag that tells a list from a person.
GSList* fieldsOfInterest()
{
    GSList* fields = nullptr;
    for (EContactField field : {E_CONTACT_UID, E_CONTACT_FULL_NAME, E_CONTACT_NAME,
                                E_CONTACT_NICKNAME, E_CONTACT_IS_LIST})
        fields = g_slist_prepend(fields, const_cast<char*>(e_contact_field_name(field)));
    return fields;
}
} // namespace

EvolutionAddressBook::EvolutionAddressBook(ESource* source, const QString& name, int& callsInFlight)
    : m_source(source)
    , m_name(name)
    , m_callsInFlight(callsInFlight)
{
}

EvolutionAddressBook::~EvolutionAddressBook()
{
    stopListening();
}

void EvolutionAddressBook::startReading(GCancellable* cancellable)
{
    m_cancellable = cancellable;
    ++m_callsInFlight;
    // Remote address books answer from the server's copy: no waiting for their network.
    const guint32 noWaitForNetwork = guint32(-1);
    e_book_client_connect(m_source.get(), noWaitForNetwork, cancellable, &connected, this);
}

void EvolutionAddressBook::giveUp()
{
    if (!m_finished)
        fail(lateAddressBookFailure());
}

void EvolutionAddressBook::fail(const QString& failure)
{
    m_failure = failure;
    m_finished = true;
    m_contacts.clear();
    m_cards = 0;
    stopListening();
}

void EvolutionAddressBook::stopListening()
{
    if (m_view)
        g_signal_handlers_disconnect_by_data(m_view.get(), this);
}

void EvolutionAddressBook::connected(GObject*, GAsyncResult* result, gpointer addressBook)
{
    auto& book = *static_cast<EvolutionAddressBook*>(addressBook);
    --book.m_callsInFlight;
    GError* error = nullptr;
    EClient* client = e_book_client_connect_finish(result, &error);
    if (!client) {
        const GErrorPtr owned(error);
        return book.fail(addressBookFailure(error, AddressBookStep::opening));
    }
    book.m_client.reset(E_BOOK_CLIENT(client));
    EBookQuery* everyone = e_book_query_any_field_contains("");
    char* query = e_book_query_to_string(everyone);
    e_book_query_unref(everyone);
    ++book.m_callsInFlight;
    e_book_client_get_view(book.m_client.get(), query, book.m_cancellable, &viewOpened, &book);
    g_free(query);
}

void EvolutionAddressBook::viewOpened(GObject* client, GAsyncResult* result, gpointer addressBook)
{
    auto& book = *static_cast<EvolutionAddressBook*>(addressBook);
    --book.m_callsInFlight;
    EBookClientView* view = nullptr;
    GError* error = nullptr;
    if (!e_book_client_get_view_finish(E_BOOK_CLIENT(client), result, &view, &error)) {
        const GErrorPtr owned(error);
        return book.fail(addressBookFailure(error, AddressBookStep::listing));
    }
    book.m_view.reset(view);
    // A server that cannot leave the other fields out sends whole cards, which read the same.
    GSList* fields = fieldsOfInterest();
    e_book_client_view_set_fields_of_interest(view, fields, nullptr);
    g_slist_free(fields);
    g_signal_connect(view, "objects-added", G_CALLBACK(&cardsAdded), &book);
    g_signal_connect(view, "complete", G_CALLBACK(&viewComplete), &book);
    e_book_client_view_start(view, &error);
    if (error) {
        const GErrorPtr owned(error);
        book.fail(addressBookFailure(error, AddressBookStep::listing));
    }
}

void EvolutionAddressBook::cardsAdded(EBookClientView*, const GSList* cards, gpointer addressBook)
{
    auto& book = *static_cast<EvolutionAddressBook*>(addressBook);
    for (const GSList* card = cards; card; card = card->next) {
        auto* contact = static_cast<EContact*>(card->data);
        ++book.m_cards;
        if (!isContactList(contact))
            book.m_contacts.append(contactFromCard(contact));
    }
}

// Cards added after this belong to a later reading.
void EvolutionAddressBook::viewComplete(EBookClientView*, const GError* error, gpointer addressBook)
{
    auto& book = *static_cast<EvolutionAddressBook*>(addressBook);
    if (error)
        return book.fail(addressBookFailure(error, AddressBookStep::listing));
    book.m_finished = true;
    book.stopListening();
}
