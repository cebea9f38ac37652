#!/usr/bin/perl
# Usage: line_breaks.pl FILE.tlb
#
# widl keeps "\r\n" escapes in help strings as four literal characters and
# drops a raw line feed, so a fixture cannot state a CR/LF line break directly.
# The fixtures write the pilcrow sign (UTF-8 bytes C2 B6, two bytes like CR LF)
# where a line break belongs; this rewrites each one inside the type library's
# string table (help strings only, never names) to CR LF in place. Lengths do
# not change, so no offset moves. Prints how many breaks it wrote.
use strict;
use warnings;

my $path = shift or die "usage: $0 FILE.tlb\n";
open(my $in, '<:raw', $path) or die "$path: $!\n";
my $data = do { local $/; <$in> };
close($in);

die "$path: not an MSFT type library\n" unless substr($data, 0, 4) eq 'MSFT';
my @header = unpack('V21', substr($data, 0, 84));
my ($varflags, $ntypeinfos) = @header[5, 8];
my $segdir = 84 + 4 * $ntypeinfos + (($varflags & 0x100) ? 4 : 0);
# Segment directory: 15 entries of (offset, length, reserved, reserved); the
# string table is entry 8 (counting from 0).
my ($offset, $length) = unpack('l2', substr($data, $segdir + 8 * 16, 8));
my $count = 0;
if ($offset >= 0 && $length > 0) {
    die "$path: string table out of bounds\n" if $offset + $length > length($data);
    my $strings = substr($data, $offset, $length);
    $count = ($strings =~ s/\xC2\xB6/\r\n/g) || 0;
    substr($data, $offset, $length) = $strings;
}
if ($count) {
    open(my $out, '>:raw', $path) or die "$path: $!\n";
    print $out $data;
    close($out) or die "$path: $!\n";
}
print "$path: $count line break(s)\n";
