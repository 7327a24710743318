"""Writes the machine profiles: for each, profile.conf (Windows version,
scenario, the driver's parameter key), registry.reg (what the operating
system and the network driver keep on disk) and volatile.reg (what the
system rebuilds at every boot: HKEY_DYN_DATA on Windows 95/98, the hardware
resource map on NT). Run it after changing a profile here; its output is
committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def hexdata(data):
    return ','.join('%02x' % b for b in data)


def multi_sz(*strings):
    out = b''
    for s in strings:
        out += s.encode() + b'\0'
    return out + b'\0'


def resource_list(port, irq):
    """One full descriptor (ISA bus): a port range, then an interrupt."""
    partials = [struct.pack('<BBHIII', 1, 1, 1, port, 0, 16)]
    if irq is not None:
        partials.append(struct.pack('<BBHIII', 2, 1, 0, irq, irq, 0xFFFFFFFF))
    head = struct.pack('<IIIHHI', 1, 1, 0, 1, 1, len(partials))
    return head + b''.join(partials)


def allocation(port, irq):
    """Configuration Manager allocation: IoBase at 20, IRQ at 18 + byte 8."""
    data = bytearray(32)
    data[8] = 4
    struct.pack_into('<H', data, 20, port)
    struct.pack_into('<H', data, 22, irq)
    return bytes(data)


def esc(s):
    return s.replace('\\', '\\\\').replace('"', '\\"')


def settings_nt(network=1, essid='Corvane'):
    return [('CardType', None), ('NetworkType', network), ('ESSID', essid),
            ('CarrierSet', 0), ('PSmode', 0), ('Roaming', 1), ('sensitivity', 1),
            ('RoamingThreshold', 40), ('DataRate', 0), ('TxRetry', 7),
            ('PreferBSSID', '000000000000'), ('StationName', 'CORVANE-PC'),
            ('Security', 0), ('SecurityID', '')]


def value_lines(values, as_text):
    lines = []
    for name, value in values:
        if isinstance(value, str):
            lines.append('"%s"="%s"' % (name, esc(value)))
        elif as_text:
            lines.append('"%s"="%d"' % (name, value))
        else:
            lines.append('"%s"=dword:%08x' % (name, value))
    return lines


# What each system keeps about its own version, written at every start since
# Wine's own start writes its Windows 7 values there. Values the system did
# not have are removed.
NT_VERSION_KEY = 'HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion'
WIN9X_VERSION_KEY = 'HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion'
LATER_NT_VALUES = ['CurrentMajorVersionNumber', 'CurrentMinorVersionNumber', 'DigitalProductId',
                   'EditionId', 'InstallationType']
SYSTEM_VERSIONS = {
    # NT 4.0 has no ProductName; CurrentBuild holds its historic text.
    'nt40': ['[%s]' % NT_VERSION_KEY, '"CurrentVersion"="4.0"', '"CurrentBuildNumber"="1381"',
             '"CurrentBuild"="1.511.1 () (Obsolete data - do not use)"',
             '"CSDVersion"="%(sp)s"', '"CurrentType"="Uniprocessor Free"', '"ProductName"=-'] +
            ['"%s"=-' % v for v in LATER_NT_VALUES],
    'win2k': ['[%s]' % NT_VERSION_KEY, '"CurrentVersion"="5.0"', '"CurrentBuildNumber"="2195"',
              '"CurrentBuild"="1.511.1 () (Obsolete data - do not use)"',
              '"CSDVersion"="%(sp)s"', '"CurrentType"="Uniprocessor Free"',
              '"ProductName"="Microsoft Windows 2000"'] + ['"%s"=-' % v for v in LATER_NT_VALUES],
    # Windows 98 keeps its version under Windows, and has no Windows NT version.
    'win98': ['[%s]' % WIN9X_VERSION_KEY, '"Version"="Windows 98"', '"VersionNumber"="4.10.1998"',
              '"SubVersionNumber"=" "', '"ProductName"="Microsoft Windows 98"', '',
              '[%s]' % NT_VERSION_KEY] +
             ['"%s"=-' % v for v in ['CurrentVersion', 'CurrentBuildNumber', 'CurrentBuild',
                                     'CSDVersion', 'CurrentType', 'ProductName'] + LATER_NT_VALUES],
}


def system_version(version, sp=''):
    return [line % {'sp': sp} for line in SYSTEM_VERSIONS[version]] + ['']


def nt_profile(name, title, product, service, port, irq, card_type, server=False,
               version='nt40', scenario='default.txt', listed=True, resources=True,
               network=1, sp='Service Pack 6'):
    reg = ['REGEDIT4', '',
           '[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]',
           '"ProductType"="%s"' % ('ServerNT' if server else 'WinNT'), '']
    # The network card list is rebuilt at every start of the machine (Wine
    # lists the host's interfaces there), so our card joins it with the
    # volatile parts, under a number of its own.
    cards = 'HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards'
    card = ['[%s\\20]' % cards]
    if listed:
        card += ['"ProductName"="%s"' % product, '"ServiceName"="%s"' % service,
                 '"Title"="[20] %s"' % title, '"Description"="%s"' % title, '']
    else:
        card += ['"ProductName"="E100B"', '"ServiceName"="E100B1"',
                 '"Title"="[20] Other Fast Ethernet Adapter"', '']
    if listed:
        reg += ['[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\%s\\Linkage]' % product,
                '"Bind"=hex(7):%s' % hexdata(multi_sz('\\Device\\%s' % service)), '']
        key = 'HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\%s\\Parameters' % service
        values = [(n, card_type if n == 'CardType' else v) for n, v in settings_nt(network)]
        reg += ['[%s]' % key] + value_lines(values, False) + ['']
    vol = ['REGEDIT4', ''] + system_version(version, sp) + card
    if listed and resources:
        vol += ['[HKEY_LOCAL_MACHINE\\HARDWARE\\RESOURCEMAP\\OtherDrivers\\%s]' % product,
                '"\\\\Device\\\\%s.Raw"=hex(8):%s' % (service, hexdata(resource_list(port, irq))),
                '']
    driver_key = 'HKLM\\SYSTEM\\CurrentControlSet\\Services\\%s\\Parameters' % service
    return name, version, scenario, driver_key, reg, vol


def win9x_profile(name, title, hardware_key, cm_key, klass, port, irq, card_type,
                  scenario='default.txt', problem=b'\0\0\0\0'):
    class_key = 'HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\%s' % klass
    values = [(n, card_type if n == 'CardType' else v) for n, v in settings_nt()]
    reg = ['REGEDIT4', '',
           '[HKEY_LOCAL_MACHINE\\Enum\\%s]' % hardware_key,
           '"DeviceDesc"="%s"' % title, '"Class"="Net"', '"Driver"="%s"' % esc(klass), '',
           '[%s]' % class_key, '"DriverDesc"="%s"' % title] + value_lines(values, True) + [
           '',
           '[%s\\Ndi\\params\\CardType]' % class_key, '"default"="%d"' % card_type,
           '"ParamDesc"="Card type"', '',
           # The network client's own record of the computer's name.
           '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\VNETSUP]',
           '"ComputerName"="CORVANE-PC"', '"Workgroup"="WORKGROUP"', '']
    vol = ['REGEDIT4', ''] + system_version('win98') + [
           '[-HKEY_DYN_DATA\\Config Manager\\Enum]', '',
           '[HKEY_DYN_DATA\\Config Manager\\Enum\\C1A0B2C0]',
           '"HardWareKey"="ROOT\\\\PCI\\\\0000"', '"Problem"=hex:00,00,00,00',
           '"Allocation"=hex:%s' % hexdata(allocation(0xCC00, 11)), '',
           '[HKEY_DYN_DATA\\Config Manager\\Enum\\%s]' % cm_key,
           '"HardWareKey"="%s"' % esc(hardware_key), '"Problem"=hex:%s' % hexdata(problem),
           '"Status"=hex:0a,60,00,00',
           '"Allocation"=hex:%s' % hexdata(allocation(port, irq)), '']
    driver_key = 'HKLM\\System\\CurrentControlSet\\Services\\Class\\%s' % klass
    return name, 'win98', scenario, driver_key, reg, vol


PCMCIA = 'Corvane Wireless LAN PC Card'
ISA = 'Corvane Wireless LAN ISA Adapter'
PROFILES = [
    nt_profile('nt40-workstation', PCMCIA, 'zorbNT', 'zorbNT1', 0x240, 10, 1),
    nt_profile('nt40-server-isa', ISA, 'ZORB3', 'ZORB31', 0x300, 5, 2, server=True,
               scenario='isa.txt'),
    win9x_profile('win98-pcmcia', PCMCIA, 'PCMCIA\\CORVANE-WIRELESS_LAN-802.11\\1', 'C29A1B00',
                  'Net\\0000', 0x240, 10, 1),
    win9x_profile('win98-isa', ISA, 'ISAPNP\\KVR1002\\0', 'C29A1B10', 'Net\\0001', 0x300, 5, 2,
                  scenario='isa.txt'),
    nt_profile('nt50', PCMCIA, 'zorbNT', 'zorbNT1', 0x240, 10, 1, version='win2k', sp=''),
    nt_profile('no-adapter', PCMCIA, 'zorbNT', 'zorbNT1', 0x240, 10, 1, resources=False),
    nt_profile('bad-install', PCMCIA, 'zorbNT', 'zorbNT1', 0x240, 10, 1, listed=False),
    win9x_profile('card-problem', PCMCIA, 'PCMCIA\\CORVANE-WIRELESS_LAN-802.11\\1', 'C29A1B00',
                  'Net\\0000', 0x240, 10, 1, problem=b'\x0a\0\0\0'),
    nt_profile('bad-mailbox', PCMCIA, 'zorbNT', 'zorbNT1', 0x240, 10, 1,
               scenario='bad-mailbox.txt'),
    nt_profile('adhoc', PCMCIA, 'zorbNT', 'zorbNT1', 0x240, 10, 1, scenario='adhoc.txt',
               network=0),
]


# What Windows 95/98 writes to NDISLOG.TXT in the Windows directory when the
# network drivers load (the troubleshooting report quotes it).
NDISLOG = """NDIS: Loading ndis.vxd
NDIS: Binding protocol NETBEUI to adapter Corvane Wireless LAN
NDIS: Binding protocol MSTCP to adapter Corvane Wireless LAN
ZORB: Corvane Wireless LAN driver loaded, I/O base 0x%X, IRQ %d
ZORB: Card type %s, firmware mailbox at 0x%04X
NDIS: Adapter Corvane Wireless LAN initialised
"""


def main():
    for name, version, scenario, driver_key, reg, vol in PROFILES:
        d = os.path.join(HERE, name)
        os.makedirs(d, exist_ok=True)
        if version == 'win98':
            isa = 'isa' in name
            os.makedirs(os.path.join(d, 'files'), exist_ok=True)
            with open(os.path.join(d, 'files', 'NDISLOG.TXT'), 'w', newline='\r\n') as f:
                f.write(NDISLOG % (0x300 if isa else 0x240, 5 if isa else 10,
                                   'ISA' if isa else 'PCMCIA', 0x400 if isa else 0x300))
        with open(os.path.join(d, 'profile.conf'), 'w') as f:
            f.write('# Machine profile %s (made by machines/make_profiles.py)\n' % name)
            f.write('VERSION=%s\nSCENARIO=%s\nDRIVER_KEY=\'%s\'\n' % (version, scenario, driver_key))
        for fname, lines in (('registry.reg', reg), ('volatile.reg', vol)):
            with open(os.path.join(d, fname), 'w', newline='\r\n') as f:
                f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
