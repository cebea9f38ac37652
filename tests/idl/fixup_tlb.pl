#!/usr/bin/perl
# Usage: fixup_tlb.pl FILE.tlb [MODULE...]
#
# Three in-place fixes to a type library that widl has just written; none
# changes a length, so no offset moves.
#
# 1. Line breaks. widl keeps "\r\n" escapes in help strings as four literal
#    characters and drops a raw line feed, so a fixture cannot state a CR/LF
#    break directly. The fixtures write the pilcrow sign (UTF-8 bytes C2 B6,
#    two bytes like CR LF) where a break belongs; each one inside the string
#    table (help strings only, never names) becomes CR LF.
# 2. Build time. widl stores the time twice as custom data of the library:
#    as text in "Created by WIDL version V at <ctime>" and as a VT_UI4 time_t
#    under {DE77BA63-517C-11D1-A2DA-0000F8773CE9}. Both become 1 Jan 1970 so
#    that every build writes the same bytes.
# 3. Module constants. widl writes only the functions of a module, never its
#    constants. Each enumeration named on the command line becomes a module
#    (TKIND_MODULE) whose constants are the enumeration's members: what MIDL
#    writes for `module M { const long x = 1; }`.
use strict;
use warnings;

my $path = shift or die "usage: $0 FILE.tlb [MODULE...]\n";
my %modules = map { $_ => 1 } @ARGV;
open(my $in, '<:raw', $path) or die "$path: $!\n";
my $data = do { local $/; <$in> };
close($in);

die "$path: not an MSFT type library\n" unless substr($data, 0, 4) eq 'MSFT';
my @header = unpack('V21', substr($data, 0, 84));
my ($varflags, $ntypeinfos) = @header[5, 8];
my $segdir = 84 + 4 * $ntypeinfos + (($varflags & 0x100) ? 4 : 0);
# Segment directory: 15 entries of (offset, length, reserved, reserved); the
# string table is entry 8 (counting from 0).
sub segment { return unpack('l2', substr($data, $segdir + $_[0] * 16, 8)); }
my ($offset, $length) = segment(8);
my $breaks = 0;
if ($offset >= 0 && $length > 0) {
    die "$path: string table out of bounds\n" if $offset + $length > length($data);
    my $strings = substr($data, $offset, $length);
    $breaks = ($strings =~ s/\xC2\xB6/\r\n/g) || 0;
    substr($data, $offset, $length) = $strings;
}

my $stamps = ($data =~ s/(Created by WIDL version [0-9.]+ at )\w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4}/${1}Thu Jan  1 00:00:00 1970/g) || 0;

# Custom data: entry 12 lists (GUID offset, data offset, next) triples into the
# GUID table (entry 5) and the custom data (entry 11, a VARTYPE then the value).
my $time_guid = pack('H*', '63ba77de7c51d111a2da0000f8773ce9');
my ($cd_offset, $cd_length) = segment(12);
my ($guid_offset) = segment(5);
my ($value_offset) = segment(11);
my $times = 0;
if ($cd_offset >= 0 && $cd_length > 0) {
    for (my $i = 0; $i + 12 <= $cd_length; $i += 12) {
        my ($guid, $value) = unpack('l2', substr($data, $cd_offset + $i, 8));
        next unless substr($data, $guid_offset + $guid, 16) eq $time_guid;
        my $at = $value_offset + $value;
        next unless unpack('v', substr($data, $at, 2)) == 19;    # VT_UI4
        substr($data, $at + 2, 4) = pack('V', 0);
        $times++;
    }
}

# Type info records (entry 0, 0x64 bytes each): the kind in the low nibble
# of the first word, the name's offset into the name table (entry 7) at
# 0x34; a name table entry holds its length in the low byte of its third
# word, then the name.
my ($types_offset) = segment(0);
my ($names_offset) = segment(7);
my $flipped = 0;
for (my $i = 0; $i < $ntypeinfos; $i++) {
    my $at = $types_offset + $i * 0x64;
    my $kind = unpack('V', substr($data, $at, 4));
    my $name_at = $names_offset + unpack('l', substr($data, $at + 0x34, 4));
    my $name = substr($data, $name_at + 12, unpack('C', substr($data, $name_at + 8, 1)));
    next unless ($kind & 0x0F) == 0 && delete $modules{$name};    # TKIND_ENUM
    substr($data, $at, 4) = pack('V', ($kind & ~0x0F) | 2);           # TKIND_MODULE
    $flipped++;
}
die "$path: no enumeration named " . join(', ', sort keys %modules) . "\n" if %modules;

open(my $out, '>:raw', $path) or die "$path: $!\n";
print $out $data;
close($out) or die "$path: $!\n";
print "$path: $breaks line break(s), $stamps+$times time stamp(s) fixed, $flipped module(s)\n";
