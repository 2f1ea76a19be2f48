#include "contacts/evolution/evolutioncontact.h"

#include "contacts/vcard.h"

#include <libebook-contacts/libebook-contacts.h>

namespace {
QString text(const void* value)
{
    return unlabelledText(static_cast<const char*>(value));
}

// A component of N, and a value of NICKNAME, is a comma-separated list. The server keeps a
// component as one text, its commas unescaped, so every comma parts two names.
void appendNames(QStringList& names, const void* list)
{
    for (const QByteArray& name : QByteArray(static_cast<const char*>(list)).split(','))
        if (const QString text = unlabelledText(name); !text.isEmpty())
            names.append(text);
}

enum NameComponent {
    familyComponent,
    givenComponent,
    additionalComponent
};
} // namespace

Contact contactFromCard(EContact* card)
{
    Contact contact;
    contact.uid = text(e_contact_get_const(card, E_CONTACT_UID));
    contact.formattedName = text(e_contact_get_const(card, E_CONTACT_FULL_NAME));
    if (EVCardAttribute* name = e_vcard_get_attribute(E_VCARD(card), EVC_N)) {
        GList* components = e_vcard_attribute_get_values(name);
        contact.familyName = text(g_list_nth_data(components, familyComponent));
        appendNames(contact.givenNames, g_list_nth_data(components, givenComponent));
        appendNames(contact.givenNames, g_list_nth_data(components, additionalComponent));
        // Only prefixes and suffixes, or an empty N, name nobody.
        contact.hasName = !contact.familyName.isEmpty() || !contact.givenNames.isEmpty();
    }
    for (GList* attribute = e_vcard_get_attributes(E_VCARD(card)); attribute;
         attribute = attribute->next) {
        auto* nickname = static_cast<EVCardAttribute*>(attribute->data);
        if (g_ascii_strcasecmp(e_vcard_attribute_get_name(nickname), EVC_NICKNAME) != 0)
            continue;
        for (GList* value = e_vcard_attribute_get_values(nickname); value; value = value->next)
            appendNames(contact.nicknames, value->data);
    }
    return contact;
}

bool isContactList(EContact* card)
{
    return GPOINTER_TO_INT(e_contact_get(card, E_CONTACT_IS_LIST)) != 0;
}
