#include "MacOS/CoreFoundation.hpp"

#include "MacOS/PropertyList.hpp"
#include "sim/Platform.h"
#include "sim/Sim.h"

#include <map>
#include <string>

namespace {

enum : CFTypeID { stringType = 7, dictionaryType = 18, urlType = 29 };

std::size_t& liveObjects() {
    static std::size_t count = 0;
    return count;
}

// Whether text is well-formed UTF-8.
bool isUTF8(std::string const& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        std::size_t count = lead < 0x80                    ? 1
                            : lead >= 0xC2 && lead <= 0xDF ? 2
                            : lead >= 0xE0 && lead <= 0xEF ? 3
                            : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                           : 0;
        if (count == 0 || i + count > text.size()) {
            return false;
        }
        unsigned long code = count == 1 ? lead : lead & (0x7F >> count);
        for (std::size_t k = 1; k < count; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const unsigned long minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < minimum[count] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += count;
    }
    return true;
}

} // namespace

struct CFObject {
    explicit CFObject(CFTypeID type, bool counted = true) : type(type), counted(counted) {
        if (counted) {
            ++liveObjects();
        }
    }
    virtual ~CFObject() {
        if (counted) {
            --liveObjects();
        }
    }
    CFObject(CFObject const&) = delete;
    CFObject& operator=(CFObject const&) = delete;

    CFTypeID type;
    bool counted;
    CFIndex references = 1;
};

struct __CFString : CFObject {
    explicit __CFString(std::string text, bool counted = true)
        : CFObject(stringType, counted), text(std::move(text)) {}
    std::string text;
};

struct __CFDictionary : CFObject {
    __CFDictionary() : CFObject(dictionaryType) {}
    ~__CFDictionary() override {
        for (auto& entry : entries) {
            CFRelease(entry.second.first);
            CFRelease(entry.second.second);
        }
    }
    // By the key's text: the key object and the value, both retained.
    std::map<std::string, std::pair<CFTypeRef, CFTypeRef>> entries;
};

struct __CFURL : CFObject {
    explicit __CFURL(CFStringRef text) : CFObject(urlType), text(text) {}
    ~__CFURL() override { CFRelease(text); }
    CFStringRef text;
};

namespace {

CFObject* object(CFTypeRef ref) {
    return static_cast<CFObject*>(const_cast<void*>(ref));
}

template <typename T>
T* as(CFTypeRef ref, CFTypeID type) {
    CFObject* o = object(ref);
    return o != nullptr && o->type == type ? static_cast<T*>(o) : nullptr;
}

} // namespace

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks{0};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks{0};

CFTypeRef CFRetain(CFTypeRef ref) {
    if (CFObject* o = object(ref)) {
        ++o->references;
    }
    return ref;
}

void CFRelease(CFTypeRef ref) {
    CFObject* o = object(ref);
    if (o != nullptr && o->counted && --o->references == 0) {
        delete o;
    }
}

CFIndex CFGetRetainCount(CFTypeRef ref) {
    CFObject* o = object(ref);
    return o == nullptr ? 0 : o->references;
}

CFTypeID CFGetTypeID(CFTypeRef ref) {
    CFObject* o = object(ref);
    return o == nullptr ? 0 : o->type;
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b) {
    if (a == b) {
        return true;
    }
    auto* x = as<__CFString>(a, stringType);
    auto* y = as<__CFString>(b, stringType);
    if (x != nullptr && y != nullptr) {
        return x->text == y->text;
    }
    auto* p = as<__CFDictionary>(a, dictionaryType);
    auto* q = as<__CFDictionary>(b, dictionaryType);
    if (p == nullptr || q == nullptr || p->entries.size() != q->entries.size()) {
        return false;
    }
    for (auto const& entry : p->entries) {
        auto other = q->entries.find(entry.first);
        if (other == q->entries.end() || !CFEqual(entry.second.second, other->second.second)) {
            return false;
        }
    }
    return true;
}

CFTypeID CFStringGetTypeID() {
    return stringType;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text, CFStringEncoding encoding) {
    if (text == nullptr) {
        return nullptr;
    }
    return CFStringCreateWithBytes(allocator, reinterpret_cast<const UInt8*>(text),
                                   CFIndex(std::char_traits<char>::length(text)), encoding, false);
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex length,
                                    CFStringEncoding encoding, Boolean) {
    if (sim::enter("CFStringCreate") != NoError || encoding != kCFStringEncodingUTF8 || length < 0 ||
        (bytes == nullptr && length > 0)) {
        return nullptr;
    }
    std::string text(reinterpret_cast<const char*>(bytes), std::size_t(length));
    if (!isUTF8(text)) {
        return nullptr;
    }
    return new __CFString(std::move(text));
}

CFIndex CFStringGetLength(CFStringRef ref) {
    auto* s = as<__CFString>(ref, stringType);
    if (s == nullptr) {
        return 0;
    }
    CFIndex units = 0;
    for (unsigned char c : s->text) {
        if ((c & 0xC0) != 0x80) {
            units += c >= 0xF0 ? 2 : 1;
        }
    }
    return units;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
    return encoding == kCFStringEncodingUTF8 && length >= 0 ? length * 3 : -1;
}

Boolean CFStringGetCString(CFStringRef ref, char* buffer, CFIndex bufferSize, CFStringEncoding encoding) {
    auto* s = as<__CFString>(ref, stringType);
    if (s == nullptr || buffer == nullptr || encoding != kCFStringEncodingUTF8 || bufferSize <= 0 ||
        CFIndex(s->text.size()) >= bufferSize) {
        return false;
    }
    s->text.copy(buffer, s->text.size());
    buffer[s->text.size()] = '\0';
    return true;
}

CFTypeID CFDictionaryGetTypeID() {
    return dictionaryType;
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex, const CFDictionaryKeyCallBacks*,
                                                 const CFDictionaryValueCallBacks*) {
    if (sim::enter("CFDictionaryCreateMutable") != NoError) {
        return nullptr;
    }
    return new __CFDictionary;
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef, CFIndex, CFDictionaryRef source) {
    auto* from = as<__CFDictionary>(source, dictionaryType);
    if (sim::enter("CFDictionaryCreateMutableCopy") != NoError || from == nullptr) {
        return nullptr;
    }
    auto* copy = new __CFDictionary;
    copy->entries = from->entries;
    for (auto& entry : copy->entries) {
        CFRetain(entry.second.first);
        CFRetain(entry.second.second);
    }
    return copy;
}

CFIndex CFDictionaryGetCount(CFDictionaryRef ref) {
    auto* d = as<__CFDictionary>(ref, dictionaryType);
    return d == nullptr ? 0 : CFIndex(d->entries.size());
}

const void* CFDictionaryGetValue(CFDictionaryRef ref, const void* key) {
    auto* d = as<__CFDictionary>(ref, dictionaryType);
    auto* k = as<__CFString>(key, stringType);
    if (d == nullptr || k == nullptr) {
        return nullptr;
    }
    auto it = d->entries.find(k->text);
    return it == d->entries.end() ? nullptr : it->second.second;
}

void CFDictionarySetValue(CFMutableDictionaryRef ref, const void* key, const void* value) {
    auto* d = as<__CFDictionary>(ref, dictionaryType);
    auto* k = as<__CFString>(key, stringType);
    if (d == nullptr || k == nullptr || value == nullptr) {
        return;
    }
    CFRetain(key);
    CFRetain(value);
    auto& slot = d->entries[k->text];
    CFRelease(slot.first);
    CFRelease(slot.second);
    slot = {key, value};
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef ref, const void* key) {
    auto* d = as<__CFDictionary>(ref, dictionaryType);
    auto* k = as<__CFString>(key, stringType);
    if (d == nullptr || k == nullptr) {
        return;
    }
    auto it = d->entries.find(k->text);
    if (it != d->entries.end()) {
        CFRelease(it->second.first);
        CFRelease(it->second.second);
        d->entries.erase(it);
    }
}

CFTypeID CFURLGetTypeID() {
    return urlType;
}

CFURLRef CFURLCreateWithBytes(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length,
                              CFStringEncoding encoding, CFURLRef) {
    if (sim::enter("CFURLCreateWithBytes") != NoError || bytes == nullptr || length <= 0) {
        return nullptr;
    }
    // Only the characters a URL may hold: printable ASCII but for blanks and a few delimiters.
    for (CFIndex i = 0; i < length; ++i) {
        UInt8 c = bytes[i];
        if (c <= 0x20 || c >= 0x7F ||
            std::string_view("\"<>\\^`{|}").find(char(c)) != std::string_view::npos) {
            return nullptr;
        }
    }
    CFStringRef text = CFStringCreateWithBytes(allocator, bytes, length, encoding, false);
    return text == nullptr ? nullptr : new __CFURL(text);
}

CFStringRef CFURLGetString(CFURLRef ref) {
    auto* url = as<__CFURL>(ref, urlType);
    return url == nullptr ? nullptr : url->text;
}

namespace {
// The library's own: set by no code at load, so that a copy of the library loaded beside it sets
// nothing of this one's.
__CFString preferencesCurrentApplication("kCFPreferencesCurrentApplication", false);
} // namespace

const CFStringRef kCFPreferencesCurrentApplication = &preferencesCurrentApplication;

namespace {

// The application ID a preference call names, empty for none.
std::string applicationID(CFStringRef ref) {
    if (ref == kCFPreferencesCurrentApplication) {
        return sim::currentApplicationID;
    }
    auto* s = as<__CFString>(ref, stringType);
    return s == nullptr ? std::string() : s->text;
}

std::string keyText(CFStringRef ref) {
    auto* s = as<__CFString>(ref, stringType);
    return s == nullptr ? std::string() : s->text;
}

// A property list in its stored form: strings and dictionaries of them, nested; empty for
// anything else.
std::string encode(CFTypeRef value) {
    if (auto* s = as<__CFString>(value, stringType)) {
        return macos::encodeString(s->text);
    }
    if (auto* d = as<__CFDictionary>(value, dictionaryType)) {
        std::map<std::string, std::string> entries;
        for (auto const& entry : d->entries) {
            std::string encoded = encode(entry.second.second);
            if (encoded.empty()) {
                return std::string();
            }
            entries[entry.first] = std::move(encoded);
        }
        return macos::encodeDictionary(entries);
    }
    return std::string();
}

CFTypeRef decode(macos::PropertyList const& list) {
    if (list.isString) {
        return new __CFString(list.text);
    }
    auto* d = new __CFDictionary;
    for (auto const& entry : list.entries) {
        CFStringRef key = new __CFString(entry.first);
        CFTypeRef value = decode(entry.second);
        d->entries[entry.first] = {key, value};
    }
    return d;
}

} // namespace

CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef application) {
    std::string app = applicationID(application);
    std::string name = keyText(key);
    if (sim::enter("CFPreferencesCopyAppValue") != NoError || app.empty() || name.empty()) {
        return nullptr;
    }
    macos::PropertyList value;
    if (!macos::preferenceValue(app, name, value)) {
        return nullptr;
    }
    return decode(value);
}

void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef application) {
    std::string app = applicationID(application);
    std::string name = keyText(key);
    if (sim::enter("CFPreferencesSetAppValue") != NoError || app.empty() || name.empty()) {
        return;
    }
    if (value == nullptr) {
        macos::setPreferenceValue(app, name, nullptr);
        return;
    }
    std::string encoded = encode(value);
    if (!encoded.empty()) {
        macos::setPreferenceValue(app, name, &encoded);
    }
}

Boolean CFPreferencesAppSynchronize(CFStringRef application) {
    std::string app = applicationID(application);
    if (sim::enter("CFPreferencesAppSynchronize") != NoError || app.empty()) {
        return false;
    }
    return macos::synchronisePreferences(app);
}

std::size_t sim::liveCFObjects() {
    return liveObjects();
}
