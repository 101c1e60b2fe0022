#!/usr/bin/perl
# Reads the report of e2e_driver's "inspect" on standard input and prints each visible text that
# holds a Latin-letter word a Chinese user interface should not show: a word that is neither in
# the reviewed list (latin-allowed.txt), nor data of the run (SSIDs, MAC addresses, names, given
# one a line in DATA_FILE), nor a number, a hexadecimal or MAC value or a number with its unit.
# Usage: untranslated.pl ALLOWED_FILE [DATA_FILE] < report
use strict;
use warnings;
use utf8;
use Encode qw(decode);
binmode STDIN, ':encoding(UTF-8)';
binmode STDOUT, ':encoding(UTF-8)';

my (%allowed, @phrases);
my ($list, $data) = @ARGV;
for my $file (grep { defined && -r } $list, $data) {
  # Raw bytes in, decoded leniently: a profile name of raw SSID bytes is data, not an error.
  open my $in, '<:raw', $file or die "$file: $!";
  while (<$in>) {
    $_ = decode('UTF-8', $_);
    chomp;
    s/\r$//;
    next if /^\s*(#|$)/;
    if ($file eq $list && /\s/) {
      push @phrases, $_;  # a reviewed phrase is allowed only as a whole: "(Ad hoc)"
    } else {
      # A line of data may be a whole name ("Arventa Corp Root CA"): each of its words is allowed.
      $allowed{$_} = 1 for ($_, words($_));
    }
  }
}

# Words are runs of letters, digits and the joiners of names and values ("WPA2-PSK", "802.1x",
# "00:0C:E7:10:20:30", "B/G"), without the punctuation around them. A word with a visible escape
# of a byte ("Caf\xE9", "\xFF\xFF") is a network name the code page could not show: data.
sub words {
  my ($text) = @_;
  my @words;
  for my $w ($text =~ /(?:\\x[0-9A-Fa-f]{2}|[A-Za-z0-9_.:\/+\-])+/g) {
    next if $w =~ /\\x[0-9A-Fa-f]{2}/;
    $w =~ s/^[.:\/+\-]+|[.:\/+\-]+$//g;
    push @words, $w if $w =~ /[A-Za-z]/;
  }
  return @words;
}

sub value {
  my ($w) = @_;
  return 1 if $w =~ /^([0-9A-Fa-f]{2}[:-]){5}[0-9A-Fa-f]{2}$/;    # MAC address
  return 1 if $w =~ /^(0x)?[0-9A-Fa-f]*[0-9][0-9A-Fa-f]*$/ && $w =~ /^(0x)?[0-9]/;  # hexadecimal
  return 1 if $w =~ /^[0-9][0-9.]*(Mbps|Kbps|KHz|MHz|GHz|dBm|ms|M|K|G|x|X)$/;  # number and unit
  return 0;
}

my $found = 0;
while (my $line = <STDIN>) {
  chomp $line;
  my ($what, $dialog, $id, $kind, $text) = split /\t/, $line, 5;
  next unless defined $text && $what eq 'text';
  my $rest = $text =~ s/\\[nt]/ /gr;  # the report's escaped line feeds and tabs
  $rest =~ s/\Q$_\E/ /g for @phrases;
  my @bad = grep { !$allowed{$_} && !value($_) } words($rest);
  next unless @bad;
  print "  untranslated in \"$dialog\", control $id ($kind): \"$text\": @bad\n";
  $found = 1;
}
exit $found;
