{ Greatest common divisor by subtraction: the statement part comes from gcd.fgd. }
program GcdDemo;

function Gcd(a, b: Integer): Integer;
{$I gcd.inc}

begin
  WriteLn(Gcd(12, 18));
  WriteLn(Gcd(35, 64));
  WriteLn(Gcd(7, 7));
  WriteLn(Gcd(100, 75));
end.
