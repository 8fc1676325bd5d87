// What a document of packages holds that its packages do not own, as a standard XML parser (expat,
// namespaces processed) reads it: the nodes a store must write back unchanged, one line each in
// document order, so that the lines of a document read and of the one written can be compared.
//
// The store's own element (the document's root, or in module data an element at the top level) is
// no node of its own, but its attributes, namespace declarations and content are. Its children in
// no namespace named as a package, and such elements at the top level, are package elements; of
// those of one name the last is the package's and the others are kept. Inside the package's
// element the ownership decides, for an element or attribute in no namespace, whether it is a
// field (of several elements of a field the last is the field's unless an attribute gave the field
// first, the others are kept), something the package may or may not take (left out of both lists)
// or kept. Namespace declarations, comments, processing instructions, text (without its white
// space) and whatever is in a namespace are always kept. Paths inside a package start at "{tag}",
// since the package may move; the others are absolute.
#pragma once

#include <expat.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace keptNodes {

enum class Field { field, unknown, kept };

struct Ownership {
    std::string store;
    std::vector<std::string> packages;
    // For an element (its name) or an attribute ("@" and its name) in no namespace of a package.
    std::function<Field(std::string const& package, std::string const& name)> field;
};

struct Nodes {
    // Empty when the parser read the document.
    std::string error;
    std::vector<std::string> kept;
    // The packages' elements and fields, with the fields' text.
    std::vector<std::string> owned;
};

namespace detail {

struct Node {
    char kind; // E element, A attribute, N namespace declaration, T text, C comment, P instruction
    std::string name;
    std::string value;
    std::vector<std::size_t> children;
};

inline bool inNameSpace(Node const& node) {
    return node.name.find('|') != std::string::npos;
}

struct Tree {
    std::vector<Node> nodes{Node{'D', "", "", {}}};
    std::vector<std::size_t> open{0};
    std::vector<std::pair<std::string, std::string>> declarations;
    std::string text;

    std::size_t add(char kind, std::string name, std::string value) {
        nodes.push_back(Node{kind, std::move(name), std::move(value), {}});
        nodes[open.back()].children.push_back(nodes.size() - 1);
        return nodes.size() - 1;
    }
    void flush() {
        if (!text.empty()) {
            add('T', "", text);
            text.clear();
        }
    }
};

// Text without its white space: the writer sets kept text on lines of its own.
inline std::string normalised(std::string const& text) {
    std::string value;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            value += c;
        }
    }
    return value;
}

class Lister {
public:
    Lister(Tree const& tree, Ownership const& ownership, Nodes& out)
        : m_tree(tree), m_own(ownership), m_out(out) {}

    // The top-level elements of the document, or of the wrapper of module data.
    void list(std::size_t top, std::string const& path) {
        std::vector<std::size_t> packages;
        for (std::size_t child : m_tree.nodes[top].children) {
            if (isStore(child)) {
                for (std::size_t inner : m_tree.nodes[child].children) {
                    if (isPackage(inner)) {
                        packages.push_back(inner);
                    }
                }
            } else if (isPackage(child)) {
                packages.push_back(child);
            }
        }
        // The last element of each package's name is the package's.
        for (std::size_t index = 0; index < packages.size(); ++index) {
            std::string const& name = m_tree.nodes[packages[index]].name;
            bool later = std::any_of(packages.begin() + std::ptrdiff_t(index) + 1, packages.end(),
                                     [&](std::size_t other) { return m_tree.nodes[other].name == name; });
            if (!later) {
                m_packages.push_back(packages[index]);
            }
        }
        for (std::size_t child : m_tree.nodes[top].children) {
            if (isStore(child)) {
                std::string inner = path + "/" + m_tree.nodes[child].name;
                listAttributes(child, inner, nullptr);
                for (std::size_t grandchild : m_tree.nodes[child].children) {
                    listTop(grandchild, inner);
                }
            } else {
                listTop(child, path);
            }
        }
    }

private:
    bool isStore(std::size_t index) const {
        Node const& node = m_tree.nodes[index];
        return node.kind == 'E' && node.name == m_own.store;
    }
    bool isPackage(std::size_t index) const {
        Node const& node = m_tree.nodes[index];
        return node.kind == 'E' &&
               std::find(m_own.packages.begin(), m_own.packages.end(), node.name) != m_own.packages.end();
    }
    void listTop(std::size_t index, std::string const& path) {
        if (std::find(m_packages.begin(), m_packages.end(), index) != m_packages.end()) {
            listPackage(index);
        } else {
            listKept(index, path);
        }
    }
    void keep(char kind, std::string const& path, std::string const& value) {
        std::vector<std::string>& kept = m_out.kept;
        if (kind == 'T') {
            std::string text = normalised(value);
            if (text.empty()) {
                return;
            }
            // Texts that only the packages' own nodes parted are one.
            std::string start = "T " + path + " ";
            if (!kept.empty() && kept.back().compare(0, start.size(), start) == 0) {
                kept.back() += text;
                return;
            }
            kept.push_back(start + text);
            return;
        }
        kept.push_back(std::string(1, kind) + " " + path + (value.empty() ? "" : " " + value));
    }
    // Attributes and declarations in name order: their order means nothing. With `owner` (a
    // package's tag) those its fields take are its.
    void listAttributes(std::size_t index, std::string const& path, std::string const* owner) {
        std::vector<std::string> lines;
        for (std::size_t child : m_tree.nodes[index].children) {
            Node const& node = m_tree.nodes[child];
            if (node.kind == 'N') {
                lines.push_back("N " + path + " " + node.name + "=" + node.value);
            } else if (node.kind == 'A') {
                Field field = owner != nullptr && !inNameSpace(node) ? m_own.field(*owner, "@" + node.name)
                                                                     : Field::kept;
                if (field == Field::kept) {
                    lines.push_back("A " + path + "/@" + node.name + " " + node.value);
                } else if (field == Field::field) {
                    m_out.owned.push_back("A " + path + "/@" + node.name + " " + node.value);
                }
            }
        }
        std::sort(lines.begin(), lines.end());
        m_out.kept.insert(m_out.kept.end(), lines.begin(), lines.end());
    }
    void listKept(std::size_t index, std::string const& path) {
        Node const& node = m_tree.nodes[index];
        if (node.kind != 'E') {
            keep(node.kind, path, node.value);
            return;
        }
        std::string inner = path + "/" + node.name;
        keep('E', inner, "");
        listAttributes(index, inner, nullptr);
        for (std::size_t child : node.children) {
            if (m_tree.nodes[child].kind != 'A' && m_tree.nodes[child].kind != 'N') {
                listKept(child, inner);
            }
        }
    }
    void listOwned(std::size_t index, std::string const& path) {
        Node const& node = m_tree.nodes[index];
        std::string inner = node.kind == 'E' ? path + "/" + node.name : path;
        m_out.owned.push_back(std::string(1, node.kind) + " " + inner + " " + normalised(node.value));
        for (std::size_t child : node.children) {
            listOwned(child, inner);
        }
    }
    void listPackage(std::size_t index) {
        Node const& package = m_tree.nodes[index];
        std::string path = "{" + package.name + "}";
        m_out.owned.push_back("E " + path);
        listAttributes(index, path, &package.name);
        std::vector<std::size_t> const& children = package.children;
        for (std::size_t at = 0; at < children.size(); ++at) {
            Node const& node = m_tree.nodes[children[at]];
            if (node.kind == 'A' || node.kind == 'N') {
                continue;
            }
            Field field =
                node.kind == 'E' && !inNameSpace(node) ? m_own.field(package.name, node.name) : Field::kept;
            if (field == Field::field) {
                // An attribute of the field's name, or a later element of it, takes the field.
                bool taken = std::any_of(children.begin(), children.end(), [&](std::size_t other) {
                    Node const& twin = m_tree.nodes[other];
                    return twin.kind == 'A' && twin.name == node.name &&
                           m_own.field(package.name, "@" + twin.name) == Field::field;
                });
                taken = taken || std::any_of(children.begin() + std::ptrdiff_t(at) + 1, children.end(),
                                             [&](std::size_t other) {
                                                 Node const& twin = m_tree.nodes[other];
                                                 return twin.kind == 'E' && twin.name == node.name;
                                             });
                field = taken ? Field::kept : Field::field;
            }
            if (field == Field::field) {
                listOwned(children[at], path);
            } else if (field == Field::kept) {
                listKept(children[at], path);
            }
        }
    }

    Tree const& m_tree;
    Ownership const& m_own;
    Nodes& m_out;
    std::vector<std::size_t> m_packages;
};

} // namespace detail

// A preference document, or with `module` module data (elements back to back, read as the content
// of an element of their own).
inline Nodes nodesOf(std::string const& document, Ownership const& ownership, bool module = false) {
    using detail::Tree;
    Tree tree;
    Nodes nodes;
    XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
    XML_SetUserData(parser, &tree);
    XML_SetNamespaceDeclHandler(
        parser,
        [](void* data, XML_Char const* prefix, XML_Char const* uri) {
            static_cast<Tree*>(data)->declarations.emplace_back(prefix != nullptr ? prefix : "",
                                                                uri != nullptr ? uri : "");
        },
        nullptr);
    XML_SetElementHandler(
        parser,
        [](void* data, XML_Char const* name, XML_Char const** attributes) {
            auto& tree = *static_cast<Tree*>(data);
            tree.flush();
            std::size_t element = tree.add('E', name, "");
            tree.open.push_back(element);
            for (auto const& declaration : tree.declarations) {
                tree.add('N', declaration.first, declaration.second);
            }
            tree.declarations.clear();
            for (; *attributes != nullptr; attributes += 2) {
                tree.add('A', attributes[0], attributes[1]);
            }
        },
        [](void* data, XML_Char const*) {
            auto& tree = *static_cast<Tree*>(data);
            tree.flush();
            tree.open.pop_back();
        });
    XML_SetCharacterDataHandler(parser, [](void* data, XML_Char const* text, int length) {
        static_cast<Tree*>(data)->text.append(text, std::size_t(length));
    });
    XML_SetCommentHandler(parser, [](void* data, XML_Char const* text) {
        auto& tree = *static_cast<Tree*>(data);
        tree.flush();
        tree.add('C', "", text);
    });
    XML_SetProcessingInstructionHandler(parser, [](void* data, XML_Char const* target, XML_Char const* text) {
        auto& tree = *static_cast<Tree*>(data);
        tree.flush();
        tree.add('P', "", std::string(target) + " " + text);
    });
    std::string text = module ? "<module>" + document + "</module>" : document;
    if (XML_Parse(parser, text.data(), int(text.size()), 1) != XML_STATUS_OK) {
        nodes.error = XML_ErrorString(XML_GetErrorCode(parser));
    }
    XML_ParserFree(parser);
    if (nodes.error.empty()) {
        std::size_t top = 0;
        if (module) {
            top = tree.nodes[0].children.front();
        }
        detail::Lister(tree, ownership, nodes).list(top, module ? "/module" : "");
    }
    return nodes;
}

} // namespace keptNodes
