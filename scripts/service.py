#!/usr/bin/python3
"""A minimal service tool for the controller's service port; HELP, printed by --help, says what it does."""
import argparse
import datetime
import gzip
import math
import os
import re
import socket
import struct
import sys
import textwrap
import time
import xml.etree.ElementTree as ET
import zlib

# What --help prints before the options, a line to a literal.
HELP = (
    "A minimal service tool for the controller's service port (Python 3, no\n"
    "packages beyond the standard library). It connects, logs in when asked,\n"
    "learns every value's name, type and handle from the controller's service\n"
    "interface definition, and runs the commands given, in order, in one session:\n"
    "\n"
    "  read NAME            prints the value; a time as its date and time in UTC\n"
    "                       with the microseconds (2026-12-11 09:24:14.174358 UTC)\n"
    "  write NAME VALUE     booleans 0/1 (or false/true, off/on); numbers in plain\n"
    "                       decimal (-12, 0.5, 1.5e-3; no 1_0, no digits of other\n"
    "                       scripts); texts in UTF-8, as many bytes as the value\n"
    "                       holds (the value list's MaximumSize less the end byte)\n"
    "  save                 the save request: the tunables file written\n"
    "  list shutdowns|alarms  the latched list: identifier, time (UTC) and text\n"
    "  status               'running' or 'stopped'\n"
    "  shutdown             stops the control (outputs locked)\n"
    "  reset                resets a stopped control (taken at the next connect)\n"
    "\n"
    "After a write the session is held until the controller has run a whole pass\n"
    "of its slowest (160 ms) group: a command that needs the caller's level (the\n"
    "configure level of the speed simulation's on command) is taken while the\n"
    "session, and with it the level, is still there.\n"
    "\n"
    "Example: python3 scripts/service.py --port 10666 --user tech --password secret \\\n"
    "             read MPU.TURB_SPD.A_NAME list shutdowns\n"
    "The options come before the first command; everything from it on is\n"
    "commands (a value may begin with '-': write NAME -1e5).\n"
    "\n"
    "Every command of the call is checked and made into its request before any\n"
    "is sent: a call with a command that cannot be formed is refused whole,\n"
    "nothing of it is sent to the controller (the commands before the bad one\n"
    "are not run either), and one line on the standard error names what is\n"
    "wrong. Each reply's status is printed when it is not 0 (0 ok, 1 not\n"
    "possible now, 2 out of range, 3 change too large while running, 254\n"
    "security, ...; a save refused with status 4 was not written, and the\n"
    "controller's console says why, a full disk for example)."
)

STATUS = {0: 'ok', 1: 'not possible now', 2: 'out of range', 3: 'change too large while running',
          4: 'not allowed now', 5: 'type mismatch', 6: 'not writable', 254: 'security', 255: 'not provided'}
# What a status means where a command gives it another sense.
STATUS_OF = {
    'save': {4: "not saved: the controller's console says why"},
    'log-in': {1: 'not possible now', 2: 'no such account', 254: 'wrong password',
               255: 'no account management on the controller'},
}
WIRE_TYPE = {'Boolean': 1, 'Integer': 4, 'Float': 32, 'String': 80, 'VKTime': 64}
# The plain forms of numbers that the tool takes (ASCII digits only).
PLAIN_INTEGER = re.compile(r'[+-]?[0-9]+')
PLAIN_NUMBER = re.compile(r'[+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)([eE][+-]?[0-9]+)?')
# The smallest magnitude other than 0 that a single-precision float holds; a
# number below it other than 0 is refused: it would arrive as 0 or as this.
SMALLEST = struct.unpack('>f', b'\x00\x00\x00\x01')[0]
LISTS = {'shutdowns': ('SHUTDOWNS.ANY', 1), 'alarms': ('ALARMS.ANY', 2)}
# The requests of the commands that name nothing.
REQUEST = {'save': b'\x26', 'status': b'\x12', 'shutdown': b'\x11', 'reset': b'\x10'}
# Exit statuses of a call refused before anything of it is sent, and of a
# call ended by Ctrl-C or by its reader.
USAGE, NO_SUCH_NAME, BAD_VALUE, INTERRUPTED, CLOSED_OUTPUT = 2, 3, 4, 130, 141
# Every exit status and what it means, as --help lists them.
EXIT_STATUSES = (
    (0, 'every command done'),
    (1, 'a command failed (its status printed), the log-in was refused, no controller answers on the port, the '
        'peer on the port gives no value list (service interface definition) that the tool can read, or '
        'the session is lost before every command has its answer (one line, naming that command); a session '
        'that the controller closes after that (it was stopped while the tool held the session after a write) '
        'is no failure'),
    (USAGE, 'a command the tool does not know, a command without its arguments (write NAME without a value), or '
            'an option that cannot be taken (--port 70000, --user without --password or the reverse, a log-in '
            'longer than one request carries); nothing sent'),
    (NO_SUCH_NAME, 'no value or list of that name on the controller (read NO.SUCH.NAME, list foo); nothing sent'),
    (BAD_VALUE, "a value that the named value's type cannot hold: a boolean other than 0/1 (false/true, off/on), "
                'a number not in plain decimal (1_0) or an infinite one, a float beyond single precision (1e39) '
                'or too small for it (1e-46: it would arrive as 0), an integer beyond 32 bits, a text longer '
                'than the value holds (counted in UTF-8 bytes) or than one request carries, anything for a '
                'time; nothing sent'),
    (INTERRUPTED, 'interrupted (Ctrl-C), in one line: a command waiting for its answer may have been carried '
                  'out, the commands after it were not sent'),
    (CLOSED_OUTPUT, 'the standard output was closed before all was printed (its reader, such as head -1, has '
                    'gone): nothing more is printed or sent, and no message'),
)
# A 160 ms group value that flips on every pass of the group.
PASS_FLIP = 'CALMODE.PULSER.NOT'


class Unreachable(Exception):
    """No controller answers on the port, or it dropped the session."""


class Closed(Unreachable):
    """The controller closed the session, or it was lost, before an answer."""


class NoValueList(Unreachable):
    """The peer gives no value list that the tool can read."""


class Refused(Exception):
    """A call with a command that cannot be formed; nothing of it is sent."""

    def __init__(self, status, message):
        super().__init__(message)
        self.status = status


class Session:
    def __init__(self, host, port):
        # Asked again for up to 2 s: a controller opens its service port a
        # second after its start.
        for attempt in range(20):
            try:
                self.sock = socket.create_connection((host, port), timeout=10)
                break
            except ConnectionRefusedError:
                if attempt == 19:
                    raise Unreachable('no controller answers on %s:%d (connection refused; is it running, '
                                      'with this --port?)' % (host, port))
                time.sleep(0.1)
            except OSError as e:
                raise Unreachable('cannot reach %s:%d: %s' % (host, port, e.strerror or e))
        # The connect answer: the largest request payload the controller
        # takes, and its reply buffer's size.
        answer = self.exchange(0, b'\x00')
        if len(answer) < 4:
            raise Unreachable('the peer on %s:%d answers the connect request with %d bytes, not a '
                              "controller's 4" % (host, port, len(answer)))
        self.largest = struct.unpack('>H', answer[:2])[0]

    def exchange(self, kind, payload):
        try:
            self.sock.sendall(struct.pack('>BH', kind, len(payload)) + payload)
            data = b''
            while len(data) < 3 or len(data) < 3 + struct.unpack('>H', data[1:3])[0]:
                part = self.sock.recv(65536)
                if not part:
                    raise Closed('the controller closed the session')
                data += part
        except OSError as e:
            raise Closed('the session with the controller was lost: %s' % (e.strerror or e))
        if data[0] != kind or len(data) == 3:
            # A channel error (a frame the peer did not take) or an empty answer.
            raise Unreachable('the peer answered a request with the frame type 0x%02X and %d bytes of payload'
                              % (data[0], len(data) - 3))
        return data[3:]

    def ask(self, payload):
        return self.exchange(1, payload)


def definition(session):
    """Name -> (handle, type, the largest text with its end byte or None),
    and list name -> {identifier: text}."""
    reply = session.ask(b'\x20__SID\x00')
    if len(reply) < 5 or reply[0] != 0:
        raise NoValueList('the peer gives no value list (service interface definition): status %d to the '
                          'request for its handle' % reply[0])
    sid = struct.unpack('>I', reply[1:5])[0]
    reply = session.ask(b'\x2b' + struct.pack('>III', sid, 0, 0))
    if len(reply) < 5 or reply[0] != 0:
        raise NoValueList('the peer gives no value list (service interface definition): status %d to the '
                          'request for its size' % reply[0])
    size = struct.unpack('>I', reply[1:5])[0]
    data = b''
    while len(data) < size:
        part = session.ask(b'\x2b' + struct.pack('>III', sid, len(data), 1))
        if part[0] != 0 or len(part) < 2:
            raise NoValueList('the value list could not be read: status %d and %d bytes at byte %d of %d'
                              % (part[0], len(part) - 1, len(data), size))
        data += part[1:]
    try:
        return parse(ET.fromstring(gzip.decompress(data).decode('utf-8-sig')))
    except (OSError, EOFError, zlib.error, ET.ParseError, UnicodeDecodeError, ValueError, TypeError,
            AttributeError) as e:
        raise NoValueList('the value list that the peer gives cannot be read (%s)' % e) from None


def parse(root):
    """The values and lists of a value list's XML."""
    values, lists = {}, {}

    def walk(element, path):
        for child in element:
            if child.tag == 'Namespace':
                walk(child, path + [child.get('Name')])
            elif child.tag == 'DataItem':
                kind = next((c.tag for c in child if c.tag in WIRE_TYPE), None)
                handle = int(child.find('CommunicationProperties/Tallwire').get('Handle'))
                text = child.find('String')
                size = int(text.get('MaximumSize')) if text is not None and text.get('MaximumSize') else None
                values['.'.join(path + [child.get('Name')])] = (handle, kind, size)
    walk(root, [])
    for status in root.iter('EventStatus'):
        texts = {}
        for event in status.iter('Event'):
            constant = event.find('Constant')
            texts[int(event.get('Identifier'))] = constant.get('Value') if constant is not None else ''
        lists[status.get('Name')] = texts
    return values, lists


def settle(session, values):
    """Returns once the controller has run a whole pass of its slowest group
    after now (two flips of PASS_FLIP seen), or has closed the session: every
    command has had its answer, and a controller stopped meanwhile runs no
    more passes."""
    handle = values[PASS_FLIP][0]
    seen, flips = None, 0
    while flips < 2:
        try:
            reply = session.ask(b'\x23' + struct.pack('>I', handle))
        except Closed:
            return
        if reply[:1] != b'\x00':
            raise Unreachable('the controller refused to read %s: status %d' % (PASS_FLIP, reply[0]))
        flips += seen is not None and reply[1:2] != seen
        seen = reply[1:2]


def label(what, status):
    """The meaning of a status that `what` (a command or a value's name) got."""
    return STATUS_OF.get(what, {}).get(status) or STATUS.get(status, '?')


def decode(kind, data):
    if kind == 'Boolean':
        return str(data[0])
    if kind == 'Float':
        return '%g' % struct.unpack_from('>f', data)[0]
    if kind == 'Integer':
        return str(struct.unpack_from('>i', data)[0])
    if kind == 'VKTime':
        seconds, micro = struct.unpack_from('>II', data)
        when = datetime.datetime.fromtimestamp(seconds, datetime.timezone.utc)
        return when.strftime('%Y-%m-%d %H:%M:%S') + '.%06d UTC' % micro
    return data.split(b'\x00')[0].decode('utf-8', 'replace')


def encode(name, kind, text):
    """The wire form of `text` written to the value `name` of type `kind`;
    Refused when the value's type cannot hold it."""
    if kind == 'Boolean':
        for byte, words in enumerate((('0', 'false', 'off'), ('1', 'true', 'on'))):
            if text.lower() in words:
                return bytes([byte])
        raise Refused(BAD_VALUE, '%s takes 0 or 1 (false or true, off or on), not %s' % (name, text))
    if kind == 'Float':
        number = float(text) if PLAIN_NUMBER.fullmatch(text) else math.nan
        try:
            packed = struct.pack('>f', number)
        except OverflowError:
            number = math.nan
        if not math.isfinite(number) or 0 < abs(number) < SMALLEST:
            raise Refused(BAD_VALUE, '%s takes a plain decimal number (-2, 0.5, 1.5e-3): 0 or a magnitude '
                          'from 1.4013e-45 to 3.4028e38 (single precision), not %s' % (name, text))
        return packed
    if kind == 'Integer':
        try:
            if PLAIN_INTEGER.fullmatch(text):
                return struct.pack('>i', int(text))
        except struct.error:
            pass
        raise Refused(BAD_VALUE, '%s takes a whole number from -2147483648 to 2147483647 in plain decimal '
                      'digits, not %s' % (name, text))
    if kind == 'String':
        try:
            return text.encode('utf-8') + b'\x00'
        except UnicodeEncodeError:
            raise Refused(BAD_VALUE, '%s takes a text in UTF-8' % name) from None
    raise Refused(BAD_VALUE, '%s is a time: the tool writes booleans, numbers and texts' % name)


def carried(request, largest, status, what):
    """`request` when one request carries it, else Refused with `status`."""
    if len(request) > largest:
        raise Refused(status, '%s does not fit in one request: %d bytes, the controller takes at most %d'
                      % (what, len(request), largest))
    return request


def form(words, values, largest):
    """Every command of the call checked and made into its request before
    any is sent: [(the command's words, command, subject, request, value type)].
    Refused, naming what is wrong, for the first command that cannot be
    formed; `largest` is the largest request the controller takes."""
    words, formed = list(words), []

    def take(command, what):
        if not words:
            raise Refused(USAGE, '%s needs %s (see --help)' % (command, what))
        return words.pop(0)

    def value(name):
        if name not in values:
            raise Refused(NO_SUCH_NAME, 'no value named %s' % name)
        return values[name]

    while words:
        command = words.pop(0)
        if command == 'read':
            name = take('read', "a value's name")
            handle, kind, _ = value(name)
            formed.append(([command, name], command, name, b'\x23' + struct.pack('>I', handle), kind))
        elif command == 'write':
            name = take('write', "a value's name and the value")
            handle, kind, size = value(name)
            text = take('write ' + name, 'the value')
            data = encode(name, kind, text)
            request = carried(b'\x25' + struct.pack('>IB', handle, WIRE_TYPE.get(kind, 0)) + data, largest,
                              BAD_VALUE, 'the write of %s' % name)
            if size is not None and len(data) > size:
                raise Refused(BAD_VALUE, '%s holds at most %d bytes of text (UTF-8), not %d'
                              % (name, size - 1, len(data) - 1))
            formed.append(([command, name, text], command, name, request, kind))
        elif command == 'list':
            which = take('list', 'shutdowns or alarms')
            if which not in LISTS:
                raise Refused(NO_SUCH_NAME, 'no list named %s (shutdowns or alarms)' % which)
            source, number = LISTS[which]
            formed.append(([command, which], command, source,
                           b'\x24' + struct.pack('>II', 0xC0C08000 + number, 0), None))
        elif command in REQUEST:
            formed.append(([command], command, command, REQUEST[command], None))
        else:
            raise Refused(USAGE, 'unknown command %s (see --help)' % command)
    return formed


class Parser(argparse.ArgumentParser):
    def error(self, message):
        """A call the options cannot be taken from: one line, nothing sent."""
        print('service.py: %s (see --help)' % message, file=sys.stderr)
        sys.exit(USAGE)

    def print_help(self, file=None):
        """The help, with a closed output reported like any other print's."""
        (file or sys.stdout).write(self.format_help())


def port(text):
    if not PLAIN_INTEGER.fullmatch(text) or int(text) not in range(1, 65536):
        raise argparse.ArgumentTypeError('%s is no TCP port (1 to 65535) in plain decimal digits' % text)
    return int(text)


def main():
    try:
        try:
            status = run()
        except (Unreachable, Refused) as e:
            print('service.py: %s' % e, file=sys.stderr)
            status = e.status if isinstance(e, Refused) else 1
        except SystemExit as e:  # --help, or a call the options cannot be taken from
            status = e.code
        sys.stdout.flush()
        return status
    except KeyboardInterrupt:
        print('service.py: interrupted', file=sys.stderr)
        return INTERRUPTED
    except BrokenPipeError:
        # The reader has gone: nothing more to say, and nothing left to
        # flush at the exit.
        quiet = os.open(os.devnull, os.O_WRONLY)
        os.dup2(quiet, sys.stdout.fileno())
        os.dup2(quiet, sys.stderr.fileno())
        return CLOSED_OUTPUT


def run():
    epilog = 'exit status:\n' + '\n'.join(textwrap.fill(text, 78, initial_indent='  %-3d  ' % status,
                                                         subsequent_indent='       ')
                                           for status, text in EXIT_STATUSES)
    parser = Parser(description=HELP, epilog=epilog, formatter_class=argparse.RawDescriptionHelpFormatter,
                    usage='%(prog)s [--host HOST] [--port PORT] [--user USER --password PASSWORD] COMMAND ...')
    parser.add_argument('--host', default='127.0.0.1')
    parser.add_argument('--port', type=port, default=10666, help='the service port (666 plus the port offset)')
    parser.add_argument('--user', help='log in with this account (with its --password)')
    parser.add_argument('--password')
    # Everything from the first command on is the commands', so that a
    # value such as -inf or -1e5 is not taken for an option.
    parser.add_argument('commands', nargs=argparse.REMAINDER, help='the commands above, run in order')
    args = parser.parse_args()
    commands = args.commands[1:] if args.commands[:1] == ['--'] else args.commands
    if not commands:
        parser.error('no command given')
    if (args.user is None) != (args.password is None):
        parser.error('--user and --password go together')
    # The definition in a session of its own: reading it takes a while, and
    # a session silent for 22 s of the controller's clock is dropped.
    first = Session(args.host, args.port)
    values, lists = definition(first)
    formed = form(commands, values, first.largest)
    if args.user is not None:
        login = carried(b'\x61' + args.user.encode('utf-8', 'surrogateescape') + b'\x00' +
                        args.password.encode('utf-8', 'surrogateescape') + b'\x00', first.largest, USAGE,
                        'the log-in of --user and --password')
    session = Session(args.host, args.port)
    if args.user is not None:
        reply = session.ask(login)
        if reply[0] != 0:
            print('log-in refused: status %d (%s)' % (reply[0], label('log-in', reply[0])), file=sys.stderr)
            return 1
    failed, wrote = False, False

    def report(what, status):
        nonlocal failed
        if status != 0:
            failed = True
            print('%s: status %d (%s)' % (what, status, label(what, status)))
        return status == 0

    for index, (said, command, subject, request, kind) in enumerate(formed):
        try:
            reply = session.ask(request)
        except Closed as e:
            raise Closed('no answer to "%s": %s; it and the commands after it may not have been carried out'
                         % (' '.join(said), e))
        try:
            if command == 'read':
                if report(subject, reply[0]):
                    print('%s = %s' % (subject, decode(kind, reply[1:])))
            elif command == 'write':
                wrote = True
                if report(subject, reply[0]):
                    print('%s written' % subject)
            elif command == 'save':
                if report(command, reply[0]):
                    print('saved')
            elif command == 'status':
                print('stopped' if reply[1] == 1 else 'running')
            elif command == 'list':
                if reply[0] == 2:
                    print('%s: empty' % subject)
                elif report(subject, reply[0]):
                    for at in range(1, len(reply), 10):
                        ident, seconds = struct.unpack('>HI', reply[at:at + 6])
                        when = datetime.datetime.fromtimestamp(seconds, datetime.timezone.utc).strftime('%H:%M:%S')
                        print('%s %3d %s %s' % (subject, ident, when, lists.get(subject, {}).get(ident, '')))
            elif report(command, reply[0]):
                print(command + ' granted')
        except (IndexError, struct.error):
            # An answer too short for what it must hold: no controller's.
            raise Unreachable('the answer to "%s" is cut short (%d byte%s)%s' % (
                ' '.join(said), len(reply), '' if len(reply) == 1 else 's',
                '; the commands after it were not sent' if index + 1 < len(formed) else ''))
    if wrote:
        settle(session, values)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
