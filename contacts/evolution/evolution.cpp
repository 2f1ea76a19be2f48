#include "contacts/evolution/evolution.h"

#include "contacts/evolution/evolutionaddressbook.h"
#include "contacts/evolution/evolutionproblems.h"

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
// The server gets this long in all, from the bus to the last address book. Cancelled calls
// report at once, and `cancelGrace` bounds those that do not, so the user waits at most five
// seconds, the program's own start included.
constexpr auto serverDeadline = 4500ms;
constexpr auto cancelGrace = 300ms;

// The registry of address books, as EDS's D-Bus interface version 5 names it.
constexpr char registryService[] = "org.gnome.evolution.dataserver.Sources5";
constexpr char registryPath[] = "/org/gnome/evolution/dataserver/SourceManager";

// One reading, on a main context of its own, so that neither Qt's event loop nor the caller's
// sees the server's replies.
class Session
{
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // False when a call has not reported even after its cancel: the session then has to stay,
    // never freed, for the call may still report to it.
    bool read(SourceReading& reading);

private:
    template<typename Start> GObjectPtr<GAsyncResult> await(Start start);
    template<typename Done> bool runUntil(Done done);
    bool connectToBus(QString& problem);
    bool reachServer(QString& problem);
    bool openRegistry(QString& problem);
    void listAddressBooks();
    void readAddressBooks();
    void collect(SourceReading& reading) const;

    GMainContext* m_context;
    GObjectPtr<GCancellable> m_cancellable;
    bool m_givenUp = false;
    int m_callsInFlight = 0;
    GObjectPtr<GDBusConnection> m_bus;
    GObjectPtr<ESourceRegistry> m_registry;
    std::vector<std::unique_ptr<EvolutionAddressBook>> m_addressBooks;
};

Session::Session()
    : m_context(g_main_context_new())
    , m_cancellable(g_cancellable_new())
{
    g_main_context_push_thread_default(m_context);
    const auto addTimer = [this](std::chrono::milliseconds after, GSourceFunc fire) {
        GSource* timer = g_timeout_source_new(guint(after.count()));
        g_source_set_callback(timer, fire, this, nullptr);
        g_source_attach(timer, m_context);
        g_source_unref(timer);
    };
    addTimer(serverDeadline, [](gpointer session) {
        g_cancellable_cancel(static_cast<Session*>(session)->m_cancellable.get());
        return G_SOURCE_REMOVE;
    });
    addTimer(serverDeadline + cancelGrace, [](gpointer session) {
        static_cast<Session*>(session)->m_givenUp = true;
        return G_SOURCE_REMOVE;
    });
}

Session::~Session()
{
    m_addressBooks.clear();
    m_registry.reset();
    m_bus.reset();
    while (g_main_context_iteration(m_context, false)) {
    }
    g_main_context_pop_thread_default(m_context);
    g_main_context_unref(m_context);
}

// Starts a call with this session's cancellable and waits for what it reports; null when the
// session has given up on it.
template<typename Start> GObjectPtr<GAsyncResult> Session::await(Start start)
{
    GAsyncResult* result = nullptr;
    const GAsyncReadyCallback keep = [](GObject*, GAsyncResult* reported, gpointer slot) {
        *static_cast<GAsyncResult**>(slot) = G_ASYNC_RESULT(g_object_ref(reported));
    };
    start(m_cancellable.get(), keep, &result);
    if (!runUntil([&result] { return result != nullptr; }))
        return {};
    return GObjectPtr<GAsyncResult>(result);
}

template<typename Done> bool Session::runUntil(Done done)
{
    while (!done()) {
        if (m_givenUp)
            return false;
        g_main_context_iteration(m_context, true);
    }
    return true;
}

bool Session::connectToBus(QString& problem)
{
    const GObjectPtr<GAsyncResult> result =
        await([](auto... call) { g_bus_get(G_BUS_TYPE_SESSION, call...); });
    if (!result)
        return false;
    GError* error = nullptr;
    m_bus.reset(g_bus_get_finish(result.get(), &error));
    if (!m_bus) {
        const GErrorPtr owned(error);
        problem = busProblem(error);
        return false;
    }
    // The connection is shared with libebook; a session bus that ends must not end the program.
    g_dbus_connection_set_exit_on_close(m_bus.get(), false);
    return true;
}

// A ping starts the server where the session can, and tells within the deadline whether it
// answers, before libebook's own calls: these would wait D-Bus's 25 seconds, and the registry
// would read a bus without the server as one without address books.
bool Session::reachServer(QString& problem)
{
    const GObjectPtr<GAsyncResult> result = await([this](auto... call) {
        g_dbus_connection_call(m_bus.get(), registryService, registryPath,
                               "org.freedesktop.DBus.Peer", "Ping", nullptr, nullptr,
                               G_DBUS_CALL_FLAGS_NONE, int(serverDeadline.count()), call...);
    });
    if (!result)
        return false;
    GError* error = nullptr;
    if (GVariant* reply = g_dbus_connection_call_finish(m_bus.get(), result.get(), &error)) {
        g_variant_unref(reply);
        return true;
    }
    const GErrorPtr owned(error);
    problem = serverProblem(error);
    return false;
}

bool Session::openRegistry(QString& problem)
{
    const GObjectPtr<GAsyncResult> result =
        await([](auto... call) { e_source_registry_new(call...); });
    if (!result)
        return false;
    GError* error = nullptr;
    m_registry.reset(e_source_registry_new_finish(result.get(), &error));
    if (!m_registry) {
        const GErrorPtr owned(error);
        problem = registryProblem(error);
        return false;
    }
    return true;
}

// Enabled address books whose account is enabled too, in the order of their names.
void Session::listAddressBooks()
{
    GList* sources =
        e_source_registry_list_enabled(m_registry.get(), E_SOURCE_EXTENSION_ADDRESS_BOOK);
    for (GList* item = sources; item; item = item->next) {
        auto* source = static_cast<ESource*>(item->data);
        char* name = e_source_registry_dup_unique_display_name(m_registry.get(), source,
                                                               E_SOURCE_EXTENSION_ADDRESS_BOOK);
        m_addressBooks.push_back(std::make_unique<EvolutionAddressBook>(
            source, QString::fromUtf8(name), m_callsInFlight));
        g_free(name);
    }
    g_list_free(sources);
    std::ranges::stable_sort(m_addressBooks, [](const auto& one, const auto& other) {
        return e_source_compare_by_display_name(one->source(), other->source()) < 0;
    });
}

void Session::readAddressBooks()
{
    for (const std::unique_ptr<EvolutionAddressBook>& book : m_addressBooks)
        book->startReading(m_cancellable.get());
    runUntil([this] {
        return m_callsInFlight == 0 &&
               (g_cancellable_is_cancelled(m_cancellable.get()) ||
                std::ranges::all_of(m_addressBooks, &EvolutionAddressBook::isFinished));
    });
    for (const std::unique_ptr<EvolutionAddressBook>& book : m_addressBooks)
        book->giveUp();
}

void Session::collect(SourceReading& reading) const
{
    QStringList failures;
    for (const std::unique_ptr<EvolutionAddressBook>& book : m_addressBooks) {
        if (!book->failure().isEmpty()) {
            failures.append(u"„%1” – %2"_s.arg(book->name(), book->failure()));
            continue;
        }
        reading.contacts.append(book->contacts());
        reading.cards += book->cards();
        // Its contact lists are the cards that are no person.
        reading.notPeople += book->cards() - int(book->contacts().size());
    }
    if (!failures.isEmpty())
        reading.problem = unreadAddressBooksProblem(failures);
}

bool Session::read(SourceReading& reading)
{
    QString problem;
    if (!connectToBus(problem) || !reachServer(problem) || !openRegistry(problem)) {
        reading.problem = m_givenUp ? lateServerProblem() : problem;
        return !m_givenUp;
    }
    listAddressBooks();
    readAddressBooks();
    collect(reading);
    return !m_givenUp;
}

// GLib's warnings are for the developers of the libraries underneath: the user gets
// `problem`. G_MESSAGES_DEBUG brings them back for whoever debugs.
GLogWriterOutput writeFatalMessagesOnly(GLogLevelFlags level, const GLogField* fields, gsize count,
                                        gpointer)
{
    if ((level & (G_LOG_FLAG_FATAL | G_LOG_LEVEL_ERROR)) ||
        qEnvironmentVariableIsSet("G_MESSAGES_DEBUG"))
        return g_log_writer_default(level, fields, count, nullptr);
    return G_LOG_WRITER_HANDLED;
}
} // namespace

void readEvolutionAddressBooks(SourceReading& reading)
{
    static std::once_flag quietGLib;
    std::call_once(quietGLib,
                   [] { g_log_set_writer_func(writeFatalMessagesOnly, nullptr, nullptr); });
    auto session = std::make_unique<Session>();
    if (!session->read(reading))
        session.release();
}
