#!/usr/bin/python3
"""Lists the values of a service interface definition (the gzip file given)
with Python's gzip and XML readers: one line per value, "<name> <handle>",
the name being the nested namespaces and the item joined by dots; and one
line per latched list, "<list>:state <handle>", its state value."""
import gzip
import sys
import xml.etree.ElementTree as ET


def walk(element, path, out):
    for child in element:
        if child.tag == 'Namespace':
            walk(child, path + [child.get('Name')], out)
        elif child.tag == 'DataItem':
            handle = child.find('CommunicationProperties/Tallwire').get('Handle')
            out.append('%s %s' % ('.'.join(path + [child.get('Name')]), handle))


def main():
    root = ET.fromstring(gzip.open(sys.argv[1]).read().decode('utf-8-sig'))
    out = []
    walk(root, [], out)
    for status in root.iter('EventStatus'):
        state = status.find('StateCommunicationProperties/Tallwire').get('Handle')
        out.append('%s:state %s' % (status.get('Name'), state))
    print('\n'.join(out))
    return 0 if out else 1


if __name__ == '__main__':
    sys.exit(main())
