{ Counting digits with a repeat loop: the statement part comes from loop.fgd. }
program DigitsDemo;

function Digits(n: LongInt): Integer;
var
  count: Integer;
{$I loop.inc}

begin
  WriteLn(Digits(0), ' ', Digits(7), ' ', Digits(10), ' ', Digits(12345), ' ', Digits(1000000));
end.
